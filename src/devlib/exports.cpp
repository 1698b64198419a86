// The exported C interface: every export forwards to one process-wide
// LibraryState, created on first use over the backend TALWYN_HID selects and
// destroyed (its threads stopped first) when the library is unloaded.

#include "devlib/hidapi_input.h"
#include "devlib/library_state.h"
#include "devlib/profile_commands.h"
#include "devlib/settings_commands.h"
#include "hid/interruptible_sleeper.h"
#include "protocol/device_ids.h"
#include "talwyn_pro_dll.h"

namespace talwyn::devlib {

// Hosts compare against the header's codes.
static_assert(kResultOk == TALWYN_RESULT_OK);
static_assert(kResultInvalidArgument == TALWYN_RESULT_INVALID_ARGUMENT);
static_assert(kResultCaptureStarted == TALWYN_RESULT_CAPTURE_STARTED);
static_assert(kResultDeviceError == TALWYN_RESULT_DEVICE_ERROR);
static_assert(kResultNoDevice == TALWYN_RESULT_NO_DEVICE);

namespace {

// Real hardware delivers input through hidapi; the simulator (and the test
// backend that refuses every device) through the backend itself.
bool realHardwareSelected() {
    return hid::backendSelectionFromEnvironment().kind == hid::BackendSelection::Kind::Hidapi;
}

std::unique_ptr<InputSource> makeInputSource(hid::HidBackend& backend) {
    if (realHardwareSelected())
        return std::make_unique<HidapiInputSource>();
    return std::make_unique<BackendInputSource>(backend);
}

class Runtime {
public:
    Runtime()
        : backend_(hid::makeBackendFromEnvironment()), input_(makeInputSource(*backend_)),
          library_({*backend_, sleeper_, readerSleeper_, *input_, &hid::makeDeviceMonitorFromEnvironment}) {}
    ~Runtime() { sleeper_.interrupt(); }
    LibraryState& library() { return library_; }

private:
    hid::InterruptibleSleeper sleeper_;
    hid::ThreadStoppableSleeper readerSleeper_;
    std::unique_ptr<hid::HidBackend> backend_;
    std::unique_ptr<InputSource> input_;
    LibraryState library_;
};

LibraryState& library() {
    static Runtime runtime;
    return runtime.library();
}

CommandChannel& channel() {
    return library().channel();
}

} // namespace
} // namespace talwyn::devlib

using namespace talwyn::devlib;

extern "C" {

TALWYN_API int32_t TALWYN_CDECL Open_x2_device(void) {
    return library().openConfig(talwyn::protocol::kProductIdNormal);
}
TALWYN_API int32_t TALWYN_CDECL Open_x2bl_device(void) {
    return library().openConfig(talwyn::protocol::kProductIdBootloader);
}
TALWYN_API int32_t TALWYN_CDECL Open_x2Compliant_device(void) {
    return library().openCompliant();
}
TALWYN_API int32_t TALWYN_CDECL Close_x2_device(void) {
    return library().closeConfig();
}
TALWYN_API int32_t TALWYN_CDECL Close_x2bl_device(void) {
    return library().closeConfig();
}
TALWYN_API uint8_t TALWYN_CDECL Get_device_status(uint16_t* status) {
    return library().deviceStatus(status);
}
TALWYN_API uint8_t TALWYN_CDECL Get_fw_version(uint16_t* version) {
    return library().firmwareVersion(version);
}
TALWYN_API uint8_t TALWYN_CDECL Get_bl_version(uint16_t* version) {
    return library().bootloaderVersion(version);
}

TALWYN_API int32_t TALWYN_CDECL Get_dll_version(uint16_t* version) {
    std::lock_guard guard(channel().libraryLock());
    if (version)
        *version = kLibraryVersion;
    return kResultOk;
}

TALWYN_API uint8_t TALWYN_CDECL Close_device(void) {
    return library().closeDevice();
}

TALWYN_API uint8_t TALWYN_CDECL Set_polling_rate(int32_t profile, int32_t rate) {
    return setPollingRate(channel(), profile, rate);
}
TALWYN_API uint8_t TALWYN_CDECL Set_button_response_time(int32_t profile, int32_t time) {
    return setButtonResponseTime(channel(), profile, time);
}
TALWYN_API uint8_t TALWYN_CDECL Set_lod(int32_t profile, int32_t on) {
    return setLiftOff(channel(), profile, on);
}
TALWYN_API uint8_t TALWYN_CDECL Set_angle_snapping(int32_t profile, int32_t on) {
    return setAngleSnapping(channel(), profile, on);
}
TALWYN_API uint8_t TALWYN_CDECL Set_dpi_settings(int32_t profile, DpiSettings dpi) {
    return setDpiSettings(channel(), profile, dpi);
}
TALWYN_API uint8_t TALWYN_CDECL Reset_sensor_settings(int32_t profile, int32_t rateCode, int32_t responseTime,
                                                      int32_t angleSnapping, int32_t liftOff,
                                                      DpiSettings dpi) {
    return resetSensorSettings(channel(), profile, {rateCode, responseTime, angleSnapping, liftOff}, dpi);
}
TALWYN_API uint8_t TALWYN_CDECL Update_lighting_settings(int32_t profile, int32_t mode, LightingColors colors,
                                                         int32_t brightness, int32_t flag, int32_t step) {
    return updateLighting(channel(), profile, mode, colors, brightness, flag, step);
}
TALWYN_API uint8_t TALWYN_CDECL Set_button_settings(int32_t profile, const ButtonSettings* settings) {
    return setButtonSettings(channel(), profile, settings);
}
TALWYN_API uint8_t TALWYN_CDECL Set_button_run_program(const LaunchSettings* settings) {
    return setButtonLaunch(channel(), settings, LaunchKind::Program);
}
TALWYN_API uint8_t TALWYN_CDECL Set_button_run_browser(const LaunchSettings* settings) {
    return setButtonLaunch(channel(), settings, LaunchKind::Browser);
}

TALWYN_API uint8_t TALWYN_CDECL Reset_profile_default(int32_t profile) {
    return runProfileCommand(channel(), ProfileCommand::ResetToDefault, profile);
}
TALWYN_API uint8_t TALWYN_CDECL Sync_profile(int32_t number) {
    return runProfileCommand(channel(), ProfileCommand::Sync, number);
}
TALWYN_API uint8_t TALWYN_CDECL Get_current_profile_id(uint8_t* profile) {
    return getCurrentProfile(channel(), profile);
}
TALWYN_API uint8_t TALWYN_CDECL Set_current_profile_id(int32_t profile) {
    return runProfileCommand(channel(), ProfileCommand::SetCurrent, profile);
}
TALWYN_API uint8_t TALWYN_CDECL Add_profile(int32_t profile) {
    return runProfileCommand(channel(), ProfileCommand::Add, profile);
}
TALWYN_API uint8_t TALWYN_CDECL Delete_profile(int32_t profile) {
    return runProfileCommand(channel(), ProfileCommand::Delete, profile);
}
TALWYN_API uint8_t TALWYN_CDECL Read_profile_data(int32_t profile, ProfileSettings* settings,
                                                  ButtonDataSet* data) {
    return readProfile(channel(), profile, settings, data);
}
TALWYN_API uint8_t TALWYN_CDECL Copy_profile_data(int32_t source, int32_t target) {
    return copyProfile(channel(), source, target);
}
TALWYN_API uint8_t TALWYN_CDECL Get_number_of_profiles_in_mouse(uint8_t* count) {
    return getProfileCount(channel(), count);
}
TALWYN_API uint8_t TALWYN_CDECL Reset_factory_default(void) {
    return resetFactoryDefault(channel());
}

TALWYN_API int32_t TALWYN_STDCALL Capture_cb_data(EventCallback callback) {
    return library().capture(callback);
}
TALWYN_API int32_t TALWYN_STDCALL Device_change_message(DeviceChangeCallback callback) {
    return library().setDeviceChangeCallback(callback);
}
TALWYN_API int32_t TALWYN_CDECL Start_device_listener(void) {
    return library().startDeviceListener();
}
TALWYN_API int32_t TALWYN_STDCALL Firmware_update_progress(ProgressCallback callback) {
    return library().setProgressCallback(callback);
}
TALWYN_API uint8_t TALWYN_CDECL Update_firmware(uint32_t size, const uint8_t* image) {
    return library().updateFirmware(size, image);
}

} // extern "C"
