/* A plain C11 host: includes the public header, loads the library at run
 * time and calls exports that answer without a device (TALWYN_HID=forbidden
 * makes any device access abort, so a wrong order of checks fails loudly).
 * With --with-mouse it drives a mouse instead (the simulated one, through
 * TALWYN_HID) and checks what reads back through the host's records. */

#include "talwyn_pro_dll.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                    \
            ++failures;                                                                                      \
        }                                                                                                    \
    } while (0)

static void* library;

static void* symbol(const char* name) {
    void* address = dlsym(library, name);
    if (!address) {
        fprintf(stderr, "missing export %s\n", name);
        ++failures;
    }
    return address;
}

/* Object pointer to function pointer without the cast ISO C forbids. */
#define BIND(type, name)                                                                                     \
    type name##_fn;                                                                                          \
    do {                                                                                                     \
        void* address = symbol(#name);                                                                       \
        memcpy(&name##_fn, &address, sizeof name##_fn);                                                      \
    } while (0)

typedef int32_t(TALWYN_CDECL* VersionI32)(uint16_t*);
typedef uint8_t(TALWYN_CDECL* VersionU8)(uint16_t*);
typedef int32_t(TALWYN_STDCALL* CaptureFn)(EventCallback);
typedef int32_t(TALWYN_STDCALL* ChangeFn)(DeviceChangeCallback);
typedef int32_t(TALWYN_STDCALL* ProgressFn)(ProgressCallback);
typedef uint8_t(TALWYN_CDECL* TwoInts)(int32_t, int32_t);
typedef uint8_t(TALWYN_CDECL* OneInt)(int32_t);
typedef uint8_t(TALWYN_CDECL* NoArgsU8)(void);
typedef int32_t(TALWYN_CDECL* NoArgsI32)(void);
typedef uint8_t(TALWYN_CDECL* ButtonFn)(int32_t, const ButtonSettings*);
typedef uint8_t(TALWYN_CDECL* LaunchFn)(const LaunchSettings*);
typedef uint8_t(TALWYN_CDECL* DpiFn)(int32_t, DpiSettings);
typedef uint8_t(TALWYN_CDECL* ReadFn)(int32_t, ProfileSettings*, ButtonDataSet*);
typedef uint8_t(TALWYN_CDECL* FirmwareFn)(uint32_t, const uint8_t*);

static const char* const allExports[] = {"Capture_cb_data",
                                         "Close_device",
                                         "Device_change_message",
                                         "Start_device_listener",
                                         "Firmware_update_progress",
                                         "Update_firmware",
                                         "Open_x2_device",
                                         "Open_x2bl_device",
                                         "Open_x2Compliant_device",
                                         "Close_x2_device",
                                         "Close_x2bl_device",
                                         "Get_device_status",
                                         "Get_fw_version",
                                         "Get_bl_version",
                                         "Get_dll_version",
                                         "Set_polling_rate",
                                         "Set_button_response_time",
                                         "Set_lod",
                                         "Set_angle_snapping",
                                         "Set_dpi_settings",
                                         "Reset_sensor_settings",
                                         "Update_lighting_settings",
                                         "Set_button_settings",
                                         "Set_button_run_program",
                                         "Set_button_run_browser",
                                         "Get_current_profile_id",
                                         "Set_current_profile_id",
                                         "Add_profile",
                                         "Delete_profile",
                                         "Sync_profile",
                                         "Read_profile_data",
                                         "Copy_profile_data",
                                         "Get_number_of_profiles_in_mouse",
                                         "Reset_profile_default",
                                         "Reset_factory_default",
                                         "hid_init",
                                         "hid_exit",
                                         "hid_enumerate",
                                         "hid_free_enumeration",
                                         "hid_open",
                                         "hid_open_path",
                                         "hid_write",
                                         "hid_read_timeout",
                                         "hid_read",
                                         "hid_set_nonblocking",
                                         "hid_send_feature_report",
                                         "hid_get_feature_report",
                                         "hid_close",
                                         "hid_get_manufacturer_string",
                                         "hid_get_product_string",
                                         "hid_get_serial_number_string",
                                         "hid_get_indexed_string",
                                         "hid_error"};

/* Only macros use eventCount: a record of another type read back from the
 * mouse carries the entry's second value there and must be taken again. */
static void checkButtonRecordsWithMouse(void) {
    BIND(ButtonFn, Set_button_settings);
    BIND(ReadFn, Read_profile_data);
    static ButtonSettings resolution, macro;
    static ProfileSettings profile;
    static ButtonDataSet data;
    resolution.button = 2;
    resolution.functionType = 21;
    resolution.sub = 2;
    resolution.value = 800;
    CHECK(Set_button_settings_fn(3, &resolution) == TALWYN_RESULT_OK);
    macro.button = 4;
    macro.functionType = 19;
    macro.eventCount = 1;
    macro.events[0].kind = 0x12;
    macro.events[0].key = 0x41;
    CHECK(Set_button_settings_fn(3, &macro) == TALWYN_RESULT_OK);

    CHECK(Read_profile_data_fn(3, &profile, &data) == TALWYN_RESULT_OK);
    CHECK(profile.buttonSettings[1].functionType == 21);
    CHECK(profile.buttonSettings[1].value == 800);
    CHECK(profile.buttonSettings[1].eventCount == 800);
    CHECK(profile.buttonSettings[3].eventCount == 1);
    CHECK(profile.buttonSettings[3].events[0].key == 0x41);
    CHECK(Set_button_settings_fn(3, &profile.buttonSettings[1]) == TALWYN_RESULT_OK);

    macro.eventCount = TALWYN_MAX_BUTTON_EVENTS + 1;
    CHECK(Set_button_settings_fn(3, &macro) == TALWYN_RESULT_INVALID_ARGUMENT);
}

static int finish(void) {
    CHECK(dlclose(library) == 0);
    if (failures == 0)
        printf("C host: all checks passed\n");
    return failures == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
    const int withMouse = argc == 3 && strcmp(argv[2], "--with-mouse") == 0;
    if (argc != 2 && !withMouse) {
        fprintf(stderr, "usage: %s <path of Talwyn_pro_dll.so> [--with-mouse]\n", argv[0]);
        return 2;
    }
    library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    if (withMouse) {
        checkButtonRecordsWithMouse();
        return finish();
    }
    for (size_t i = 0; i < sizeof allExports / sizeof allExports[0]; ++i)
        symbol(allExports[i]);
    CHECK(dlsym(library, "_ZN6talwyn6devlib7LibraryD1Ev") == NULL);

    {
        BIND(VersionI32, Get_dll_version);
        uint16_t version = 0;
        CHECK(Get_dll_version_fn(&version) == TALWYN_RESULT_OK);
        CHECK(version == 10);
    }
    {
        BIND(CaptureFn, Capture_cb_data);
        BIND(ChangeFn, Device_change_message);
        BIND(ProgressFn, Firmware_update_progress);
        CHECK(Capture_cb_data_fn(NULL) == TALWYN_RESULT_DEVICE_ERROR);
        CHECK(Device_change_message_fn(NULL) == TALWYN_RESULT_DEVICE_ERROR);
        CHECK(Firmware_update_progress_fn(NULL) == TALWYN_RESULT_DEVICE_ERROR);
    }
    {
        BIND(TwoInts, Set_polling_rate);
        BIND(TwoInts, Set_lod);
        BIND(TwoInts, Copy_profile_data);
        BIND(OneInt, Sync_profile);
        BIND(OneInt, Add_profile);
        CHECK(Set_polling_rate_fn(6, 500) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Set_lod_fn(1, 2) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Copy_profile_data_fn(0, 1) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Sync_profile_fn(7) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Add_profile_fn(9) == TALWYN_RESULT_INVALID_ARGUMENT);
    }
    {
        BIND(ButtonFn, Set_button_settings);
        BIND(LaunchFn, Set_button_run_program);
        BIND(DpiFn, Set_dpi_settings);
        BIND(ReadFn, Read_profile_data);
        static ButtonSettings button;
        static ProfileSettings profile;
        static ButtonDataSet data;
        DpiSettings dpi = {1, 2, {400, 800, 1600, 3200, 6400, 0, 0, 0, 0, 0}};
        LaunchSettings launch = {1, 1, NULL, 2000};
        button.button = 1;
        button.functionType = 19;
        button.eventCount = 141;
        CHECK(Set_button_settings_fn(1, &button) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Set_button_run_program_fn(&launch) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Set_dpi_settings_fn(0, dpi) == TALWYN_RESULT_INVALID_ARGUMENT);
        CHECK(Read_profile_data_fn(6, &profile, &data) == TALWYN_RESULT_INVALID_ARGUMENT);
    }
    {
        BIND(FirmwareFn, Update_firmware);
        static uint8_t image[TALWYN_FIRMWARE_MAX_SIZE + 1];
        CHECK(Update_firmware_fn(sizeof image, image) == TALWYN_RESULT_INVALID_ARGUMENT);
    }
    {
        BIND(NoArgsU8, Close_device);
        BIND(NoArgsI32, Close_x2_device);
        CHECK(Close_device_fn() == TALWYN_RESULT_OK);
        CHECK(Close_x2_device_fn() == TALWYN_RESULT_OK);
    }
    return finish();
}
