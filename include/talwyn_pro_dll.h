/*
 * Talwyn_pro_dll: device access library for the Talwyn PRO gaming mouse.
 *
 * A flat C interface: open the mouse, change the settings of its five on-board
 * profiles, read profiles back, receive the mouse's button events, follow
 * device arrival and removal, and update its firmware. The library also
 * exports hidapi's entry points (hid_init ... hid_error) under their own names;
 * they behave as hidapi documents them.
 *
 * Conventions that hold for every export:
 *  - Results are status codes (TALWYN_RESULT_*). Exports documented with an
 *    8-bit result return uint8_t; read it as an unsigned 8-bit value.
 *  - Profile numbers are 1 to 5 unless an export says otherwise.
 *  - Range checks come before device checks where the export says so: an
 *    argument out of range returns TALWYN_RESULT_INVALID_ARGUMENT and sends
 *    nothing.
 *  - Commands are serialised by one recursive library lock; a command blocks
 *    other commands for its pauses (10 to 100 ms, more with retries).
 *  - Buffers handed to callbacks belong to the library and are valid only
 *    during the call. Buffers handed to the library stay the caller's.
 *  - The environment variable TALWYN_HID selects the device: "hidapi"
 *    (default, real hardware) or "sim:<socket path>" (the simulated mouse).
 */
#ifndef TALWYN_PRO_DLL_H
#define TALWYN_PRO_DLL_H

#include <stdint.h>

/* Calling conventions exist only on 32-bit x86 Windows; elsewhere they are empty. */
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define TALWYN_STDCALL __stdcall
#define TALWYN_CDECL __cdecl
#else
#define TALWYN_STDCALL
#define TALWYN_CDECL
#endif

#if defined(_WIN32)
#if defined(TALWYN_PRO_DLL_BUILD)
#define TALWYN_API __declspec(dllexport)
#else
#define TALWYN_API __declspec(dllimport)
#endif
#elif defined(TALWYN_PRO_DLL_BUILD)
#define TALWYN_API __attribute__((visibility("default")))
#else
#define TALWYN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Identifiers of the mouse ------------------------------------------ */

#define TALWYN_VENDOR_ID 0x22D4
#define TALWYN_PRODUCT_ID_NORMAL 0x1329
#define TALWYN_PRODUCT_ID_BOOTLOADER 0x1328

/* ---- Status codes ------------------------------------------------------ */

/** Done; for a command: the mouse acknowledged it. */
#define TALWYN_RESULT_OK 1
/** An argument is out of its range; nothing was sent. */
#define TALWYN_RESULT_INVALID_ARGUMENT 2
/** Capture_cb_data opened the device and started its reader. */
#define TALWYN_RESULT_CAPTURE_STARTED 5
/** No device, a failed transfer, or the mouse did not answer with status 1. */
#define TALWYN_RESULT_DEVICE_ERROR 20
/** Capture_cb_data: the input device could not be opened; also the status
 *  Get_device_status writes when the mouse is not present. */
#define TALWYN_RESULT_NO_DEVICE 255

/* ---- Input events (Capture_cb_data) ------------------------------------ */

/** Event codes 1 to 5 carry one data byte; the library does not interpret them. */
#define TALWYN_EVENT_RUN_PROGRAM 35
#define TALWYN_EVENT_OPEN_BROWSER 36

/* ---- Device changes (Device_change_message) ---------------------------- */

#define TALWYN_DEVICE_ARRIVED 1
#define TALWYN_DEVICE_ARRIVED_ALT 2
#define TALWYN_DEVICE_REMOVED 255

/* ---- Firmware progress (Firmware_update_progress) ---------------------- */

#define TALWYN_FW_PROGRESS 0x01
#define TALWYN_FW_NEW_VERSION 0x60
#define TALWYN_FW_ERR_NO_IMAGE 0x50
#define TALWYN_FW_ERR_ENTER_BOOTLOADER 0x51
#define TALWYN_FW_ERR_NO_BOOTLOADER 0x52
#define TALWYN_FW_ERR_START 0x53
#define TALWYN_FW_ERR_BLOCK 0x54
#define TALWYN_FW_ERR_FINISH 0x55
#define TALWYN_FW_ERR_NO_DEVICE 0x56

/** Largest firmware image Update_firmware accepts (100 blocks of 1024 bytes). */
#define TALWYN_FIRMWARE_MAX_SIZE 102400

/* ---- Records ----------------------------------------------------------- */

/** Resolution settings (22 bytes). Passed through to the mouse unchanged;
 *  values travel low byte first. */
typedef struct DpiSettings {
    uint8_t first;
    uint8_t second;
    uint16_t values[10];
} DpiSettings;

/** Lighting colours (24 bytes), copied to the mouse unchanged. */
typedef struct LightingColors {
    uint8_t bytes[24];
} LightingColors;

/** One macro or shortcut event (12 bytes). */
typedef struct ButtonEvent {
    uint8_t kind; /**< 0x10, 0x11, or 0x12 (key event) */
    uint8_t reserved1;
    uint16_t key;    /**< Windows virtual-key code */
    uint8_t release; /**< 0 press, 1 release */
    uint8_t reserved2[3];
    uint32_t delay; /**< only the low 24 bits travel */
} ButtonEvent;

#define TALWYN_MAX_BUTTON_EVENTS 140

/** The function of one button (1700 bytes). */
typedef struct ButtonSettings {
    int32_t button;       /**< button number; its low byte is sent (1 to 6 in profiles) */
    int32_t functionType; /**< 16 to 25, or 255 */
    uint8_t sub;          /**< function parameter */
    uint8_t reserved1;
    uint16_t value;    /**< key code, resolution, data length or shortcut index */
    uint8_t macroByte; /**< type 19: sent as the entry's value */
    uint8_t reserved2;
    uint16_t eventCount; /**< macros: entries used in events, at most 140 */
    uint8_t subCopy;     /**< Read_profile_data: copy of sub for macros; never sent */
    uint8_t reserved3[3];
    ButtonEvent events[TALWYN_MAX_BUTTON_EVENTS];
} ButtonSettings;

#define TALWYN_MAX_LAUNCH_DATA 1024

/** Data of a program or browser launch button. The library does not
 *  interpret the bytes (a path or an address in the host's encoding). */
typedef struct LaunchSettings {
    int32_t profile;     /**< 1 to 5 */
    int32_t button;      /**< 1 to 6 */
    const uint8_t* data; /**< owned by the caller, read during the call */
    uint16_t length;     /**< bytes in data, at most 1024 */
} LaunchSettings;

#define TALWYN_PROFILE_BUTTONS 6

/** One profile as read back by Read_profile_data (10284 bytes). */
typedef struct ProfileSettings {
    uint8_t profileNumber; /**< 1 to 6 */
    uint8_t reserved1[3];
    uint32_t pollingRate; /**< Hz: 125, 250, 500 or 1000 */
    uint8_t responseTime;
    uint8_t reserved2[3];
    uint32_t angleSnapping; /**< 0 or 1 */
    uint32_t liftOffOption; /**< 0 or 1 */
    DpiSettings dpiSettings;
    uint8_t reserved3[2];
    uint32_t lightingMode;
    LightingColors colors;
    uint32_t brightness; /**< 0, 25, 50, 75 or 100 */
    uint32_t lightingFlag;
    uint32_t lightingStep;
    ButtonSettings buttonSettings[TALWYN_PROFILE_BUTTONS];
} ProfileSettings;

/** Data blocks of the launch buttons of a profile (6156 bytes): slot i and
 *  length i belong to button i + 1. */
typedef struct ButtonDataSet {
    uint8_t data[TALWYN_PROFILE_BUTTONS][1024];
    uint16_t lengths[TALWYN_PROFILE_BUTTONS];
} ButtonDataSet;

#ifdef __cplusplus
#define TALWYN_STATIC_ASSERT static_assert
#else
#define TALWYN_STATIC_ASSERT _Static_assert
#endif
TALWYN_STATIC_ASSERT(sizeof(DpiSettings) == 22, "DpiSettings is 22 bytes");
TALWYN_STATIC_ASSERT(sizeof(LightingColors) == 24, "LightingColors is 24 bytes");
TALWYN_STATIC_ASSERT(sizeof(ButtonEvent) == 12, "ButtonEvent is 12 bytes");
TALWYN_STATIC_ASSERT(sizeof(ButtonSettings) == 1700, "ButtonSettings is 1700 bytes");
TALWYN_STATIC_ASSERT(sizeof(ProfileSettings) == 10284, "ProfileSettings is 10284 bytes");
TALWYN_STATIC_ASSERT(sizeof(ButtonDataSet) == 6156, "ButtonDataSet is 6156 bytes");
#undef TALWYN_STATIC_ASSERT

/* ---- Callbacks --------------------------------------------------------- */

/** Input event. code points to the event code; for codes 1 to 5 data points
 *  to one byte and length to the value 1; for codes 35 and 36 data points to
 *  the button's 1024-byte data block and length to its data length. Called on
 *  the library's reader thread; the pointers are valid only during the call.
 *  The result is ignored. */
typedef int32_t(TALWYN_STDCALL* EventCallback)(const uint8_t* code, const uint8_t* data,
                                               const int32_t* length);

/** Device change: change points to TALWYN_DEVICE_ARRIVED, _ARRIVED_ALT or
 *  _REMOVED. Called on the listener's thread; the result is ignored. */
typedef int32_t(TALWYN_STDCALL* DeviceChangeCallback)(const uint8_t* change);

/** Firmware progress: status points to TALWYN_FW_*, value to its value (see
 *  Update_firmware). Called on the firmware worker's thread; the result is
 *  ignored. */
typedef int32_t(TALWYN_STDCALL* ProgressCallback)(const uint8_t* status, const uint32_t* value);

/* ---- Device access ----------------------------------------------------- */

/** Finds and opens the configuration interface (usage page 0xFF01, usage 2)
 *  of a mouse in normal mode. Forgets any interface opened before.
 *  Returns 1 when found and opened, else 0. */
TALWYN_API int32_t TALWYN_CDECL Open_x2_device(void);

/** As Open_x2_device, for a mouse in bootloader mode (product 0x1328). */
TALWYN_API int32_t TALWYN_CDECL Open_x2bl_device(void);

/** Finds and opens the second vendor interface (usage page 0xFF02, usage 1)
 *  of a mouse in normal mode. No export reads or writes through it.
 *  Returns 1 when found and opened, else 0. */
TALWYN_API int32_t TALWYN_CDECL Open_x2Compliant_device(void);

/** Closes the configuration interface if it is open. Always returns 1. */
TALWYN_API int32_t TALWYN_CDECL Close_x2_device(void);

/** Same operation as Close_x2_device. */
TALWYN_API int32_t TALWYN_CDECL Close_x2bl_device(void);

/** Writes 1 to *status when the configuration interface is open or can be
 *  opened (returns 1); otherwise writes 255 and returns 20. Sends nothing. */
TALWYN_API uint8_t TALWYN_CDECL Get_device_status(uint16_t* status);

/** Sends A1 02 and reads the reply; stores the firmware version from reply
 *  bytes 16-17 with its hexadecimal digits read as a decimal number
 *  (0x0210 gives 210, 0x01A5 gives 1). Returns 1, or 20 with *version untouched. */
TALWYN_API uint8_t TALWYN_CDECL Get_fw_version(uint16_t* version);

/** As Get_fw_version, from reply bytes 18-19 (the bootloader version). */
TALWYN_API uint8_t TALWYN_CDECL Get_bl_version(uint16_t* version);

/** Stores the library version (10). Always returns 1; sends nothing. */
TALWYN_API int32_t TALWYN_CDECL Get_dll_version(uint16_t* version);

/** Ends the input capture (waits for the reader to leave its read unless
 *  called from inside the event callback, in which case the reader stops
 *  after the callback returns), calls hid_exit and closes the configuration
 *  interface. Callbacks stay registered. Always returns 1. */
TALWYN_API uint8_t TALWYN_CDECL Close_device(void);

/* ---- Settings commands (result 1, 2 or 20) ----------------------------- */

/** Sets the report rate: rate 125, 250, 500 or 1000 Hz. The rate is checked
 *  after the device, so an unlisted rate gives 20 without a mouse. */
TALWYN_API uint8_t TALWYN_CDECL Set_polling_rate(int32_t profile, int32_t rate);

/** Sets the button response time; the low byte of time must be even, 2 to 12. */
TALWYN_API uint8_t TALWYN_CDECL Set_button_response_time(int32_t profile, int32_t time);

/** Turns lift-off distance option on (1) or off (0). */
TALWYN_API uint8_t TALWYN_CDECL Set_lod(int32_t profile, int32_t on);

/** Turns angle snapping on (1) or off (0). */
TALWYN_API uint8_t TALWYN_CDECL Set_angle_snapping(int32_t profile, int32_t on);

/** Sends the resolution settings of a profile. */
TALWYN_API uint8_t TALWYN_CDECL Set_dpi_settings(int32_t profile, DpiSettings dpi);

/** Sends all sensor settings at once: the raw device values of report-rate
 *  code, response time, angle snapping and lift-off (low bytes) and the
 *  resolution settings. */
TALWYN_API uint8_t TALWYN_CDECL Reset_sensor_settings(int32_t profile, int32_t rateCode, int32_t responseTime,
                                                      int32_t angleSnapping, int32_t liftOff,
                                                      DpiSettings dpi);

/** Sends the lighting of a profile (low bytes of mode, brightness, flag, step). */
TALWYN_API uint8_t TALWYN_CDECL Update_lighting_settings(int32_t profile, int32_t mode, LightingColors colors,
                                                         int32_t brightness, int32_t flag, int32_t step);

/** Sets the function of settings->button. Macros (type 19) and shortcuts
 *  (type 25) also upload a 1024-byte event block with a checksum.
 *  settings is read during the call only. A macro whose eventCount exceeds
 *  140 returns 2; other types do not use eventCount and never read events. */
TALWYN_API uint8_t TALWYN_CDECL Set_button_settings(int32_t profile, const ButtonSettings* settings);

/** Makes a button launch a program; uploads the data bytes (at most 1024,
 *  else 2). Button must be 1 to 6. */
TALWYN_API uint8_t TALWYN_CDECL Set_button_run_program(const LaunchSettings* settings);

/** Makes a button open a browser at the address in the data bytes. */
TALWYN_API uint8_t TALWYN_CDECL Set_button_run_browser(const LaunchSettings* settings);

/* ---- Profile commands (result 1, 2 or 20) ------------------------------ */

/** Resets one profile to its defaults. */
TALWYN_API uint8_t TALWYN_CDECL Reset_profile_default(int32_t profile);

/** Sends the synchronise command for number 1 to 6. */
TALWYN_API uint8_t TALWYN_CDECL Sync_profile(int32_t number);

/** Stores the mouse's active profile number (reply byte 16, unchecked). */
TALWYN_API uint8_t TALWYN_CDECL Get_current_profile_id(uint8_t* profile);

/** Makes a profile the active one. */
TALWYN_API uint8_t TALWYN_CDECL Set_current_profile_id(int32_t profile);

/** Enables a profile. */
TALWYN_API uint8_t TALWYN_CDECL Add_profile(int32_t profile);

/** Disables a profile. */
TALWYN_API uint8_t TALWYN_CDECL Delete_profile(int32_t profile);

/** Reads one profile into *settings (all six buttons, macro events included)
 *  and the data blocks of its launch buttons into *data. Slots of other
 *  buttons are left untouched; a launch slot whose read fails is zero-filled.
 *  eventCount is the count the mouse stores for every button; for macros,
 *  whose events are copied into the record, it is cut to 140. Both records
 *  are the caller's. Returns 1, 2 or 20 (records untouched on 2 and 20). */
TALWYN_API uint8_t TALWYN_CDECL Read_profile_data(int32_t profile, ProfileSettings* settings,
                                                  ButtonDataSet* data);

/** Copies profile source onto profile target. */
TALWYN_API uint8_t TALWYN_CDECL Copy_profile_data(int32_t source, int32_t target);

/** Stores the number of profiles (reply byte 16) even when it is out of 1 to
 *  5, and returns 1 only when it is 1 to 5, else 20. */
TALWYN_API uint8_t TALWYN_CDECL Get_number_of_profiles_in_mouse(uint8_t* count);

/** Resets the whole mouse to its factory settings. */
TALWYN_API uint8_t TALWYN_CDECL Reset_factory_default(void);

/* ---- Input capture and device listener --------------------------------- */

/** Registers callback, opens the mouse's input device and starts the reader
 *  thread. A capture already running is stopped first. Returns 5 started,
 *  20 for a null callback or when the thread cannot start, 255 when the
 *  input device cannot be opened. */
TALWYN_API int32_t TALWYN_STDCALL Capture_cb_data(EventCallback callback);

/** Registers the device-change callback. Returns 1, or 20 for null. */
TALWYN_API int32_t TALWYN_STDCALL Device_change_message(DeviceChangeCallback callback);

/** Starts a device listener thread: arrivals of interfaces whose path holds
 *  "VID_3282" with "PID_0003" and "MI_00" report 1, with "PID_0004" report 2;
 *  removals of "VID_3282"+"PID_0003"+"MI_00" or of "PID_0004" report 255
 *  and run Close_device. Matching is case-sensitive. Returns 1, or 20 when no
 *  listener can be started. Listeners stop when the library is unloaded. */
TALWYN_API int32_t TALWYN_CDECL Start_device_listener(void);

/* ---- Firmware update --------------------------------------------------- */

/** Registers the progress callback. Returns 1, or 20 for null. */
TALWYN_API int32_t TALWYN_STDCALL Firmware_update_progress(ProgressCallback callback);

/** Copies image (size bytes, the caller's) into 1024-byte blocks and starts
 *  the firmware worker, which reports through the progress callback:
 *  (1,1) started, (1,3) bootloader found, (1,4) transfer accepted,
 *  (1, 4 + 100*k/n) block k accepted, (1,100) finished, (0x60, version);
 *  or one error status 0x50..0x56, after which nothing follows.
 *  A null image starts the worker, which reports only (0x50, 0).
 *  Returns 1 when the worker was started; 2 when size exceeds 102400
 *  (nothing started, no progress call); 20 while an update still runs
 *  (also when called from the worker's own progress callback). */
TALWYN_API uint8_t TALWYN_CDECL Update_firmware(uint32_t size, const uint8_t* image);

#ifdef __cplusplus
}
#endif

#endif /* TALWYN_PRO_DLL_H */
