#include "hid/forbidden_backend.h"
#include "hid/hid_backend.h"
#include "hid/hidapi_backend.h"
#include "hid/sim_socket_backend.h"
#include "hid/sim_wire.h"
#include "hid/udev_monitor.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

namespace talwyn::hid {
namespace {

TEST(ClassifyErrno, TransientReasonsAreRetryable) {
    const std::pair<int, ErrorClass> cases[] = {
        {0, ErrorClass::None},          {EAGAIN, ErrorClass::Retryable},
        {EBUSY, ErrorClass::Retryable}, {ETIMEDOUT, ErrorClass::Retryable},
        {EPIPE, ErrorClass::Retryable}, {EPROTO, ErrorClass::Retryable},
        {EIO, ErrorClass::Retryable},   {ENODEV, ErrorClass::Fatal},
        {ENOENT, ErrorClass::Fatal},    {EACCES, ErrorClass::Fatal},
        {EINVAL, ErrorClass::Fatal},
    };
    for (auto [err, expected] : cases)
        EXPECT_EQ(classifyErrno(err), expected) << err;
}

// Sets TALWYN_HID for one scope and restores the test's own value after.
class ScopedHidVariable {
public:
    explicit ScopedHidVariable(const char* value) {
        if (const char* old = std::getenv("TALWYN_HID"))
            old_ = old;
        value ? ::setenv("TALWYN_HID", value, 1) : ::unsetenv("TALWYN_HID");
    }
    ~ScopedHidVariable() { old_ ? ::setenv("TALWYN_HID", old_->c_str(), 1) : ::unsetenv("TALWYN_HID"); }

private:
    std::optional<std::string> old_;
};

TEST(BackendSelection, ReadsTalwynHid) {
    using Kind = BackendSelection::Kind;
    struct Case {
        const char* value;
        Kind kind;
        std::string socketPath;
    };
    const Case cases[] = {
        {nullptr, Kind::Hidapi, ""},
        {"hidapi", Kind::Hidapi, ""},
        {"sim:/tmp/x.sock", Kind::Sim, "/tmp/x.sock"},
        {"forbidden", Kind::Forbidden, ""},
        {"simulator", Kind::Hidapi, ""},
        {"", Kind::Hidapi, ""},
    };
    for (const Case& c : cases) {
        ScopedHidVariable v(c.value);
        const BackendSelection selection = backendSelectionFromEnvironment();
        EXPECT_EQ(selection.kind, c.kind) << (c.value ? c.value : "(unset)");
        EXPECT_EQ(selection.socketPath, c.socketPath) << (c.value ? c.value : "(unset)");
    }
}

TEST(BackendSelection, FollowsTalwynHid) {
    {
        ScopedHidVariable v("sim:/tmp/x.sock");
        EXPECT_NE(dynamic_cast<SimSocketBackend*>(makeBackendFromEnvironment().get()), nullptr);
        EXPECT_NE(dynamic_cast<SimSocketMonitor*>(makeDeviceMonitorFromEnvironment().get()), nullptr);
    }
    {
        ScopedHidVariable v("forbidden");
        EXPECT_NE(dynamic_cast<ForbiddenBackend*>(makeBackendFromEnvironment().get()), nullptr);
        EXPECT_NE(dynamic_cast<ForbiddenMonitor*>(makeDeviceMonitorFromEnvironment().get()), nullptr);
    }
    for (const char* value : {static_cast<const char*>(nullptr), "hidapi"}) {
        ScopedHidVariable v(value);
        EXPECT_NE(dynamic_cast<HidapiBackend*>(makeBackendFromEnvironment().get()), nullptr);
        EXPECT_NE(dynamic_cast<UdevMonitor*>(makeDeviceMonitorFromEnvironment().get()), nullptr);
    }
}

TEST(ForbiddenBackendDeathTest, ReachingForADeviceAbortsLoudly) {
    ForbiddenBackend backend;
    EXPECT_DEATH(backend.enumerate(0x22D4, 0x1329), "TALWYN_HID=forbidden: enumerate");
    EXPECT_DEATH(backend.open("/dev/hidraw0"), "TALWYN_HID=forbidden: open");
}

TEST(WindowsInterfacePath, SpelledFromTheSysfsPath) {
    const std::string guid = "#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:22D4:1329.0005/hidraw/hidraw3",
         "\\\\?\\HID#VID_22D4&PID_1329&MI_00#7&0005&0&0000" + guid},
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:22d4:1329.000A/hidraw/hidraw4",
         "\\\\?\\HID#VID_22D4&PID_1329&MI_01#7&000A&0&0000" + guid},
        {"/devices/virtual/misc/uhid/0003:22D4:1328.0001/hidraw/hidraw0",
         "\\\\?\\HID#VID_22D4&PID_1328#7&0001&0&0000" + guid},
        {"/devices/virtual/misc/uhid/hidraw/hidraw0", std::nullopt},
        {"/devices/x/0003:22G4:1329.0001/hidraw/hidraw0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [devpath, expected] : cases)
        EXPECT_EQ(windowsInterfacePath(devpath), expected) << devpath;
}

TEST(SimWire, ReaderStaysInsideThePayload) {
    const uint8_t data[] = {0x01, 0x02, 0x03};
    wire::Reader r(data);
    EXPECT_EQ(r.u16(), 0x0201);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.u8(), 0); // stays failed
    EXPECT_TRUE(r.text(1).empty());
}

TEST(SimWire, DeviceListsRoundTripAndTruncationIsRejected) {
    const std::vector<DeviceInfo> devices = {{"\\\\?\\HID#a", 0x22D4, 0x1329, 0x0105, 0xFF01, 2, 1},
                                             {"b", 1, 2, 3, 4, 5, -1}};
    wire::Writer w;
    wire::writeDeviceInfos(w, devices);
    const auto bytes = w.take();
    wire::Reader r(bytes);
    const auto back = wire::readDeviceInfos(r);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[0].path, devices[0].path);
    EXPECT_EQ((*back)[1].interfaceNumber, -1);
    EXPECT_EQ((*back)[0].usagePage, 0xFF01);

    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        wire::Reader shorter(std::span<const uint8_t>(bytes).first(cut));
        EXPECT_FALSE(wire::readDeviceInfos(shorter)) << cut;
    }
}

TEST(SimWire, RepliesDecodeOrFailAsFatal) {
    const uint8_t report[] = {0xA1, 0x01};
    const auto ok = wire::encodeReply(Result::success(0), report);
    std::span<const uint8_t> data;
    const Result decoded = wire::decodeReply(ok, &data);
    EXPECT_TRUE(decoded.ok());
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.end()),
              std::vector<uint8_t>(std::begin(report), std::end(report)));

    const auto failed =
        wire::decodeReply(wire::encodeReply(Result::failure(ErrorClass::Retryable, EPIPE)), nullptr);
    EXPECT_EQ(failed.error, ErrorClass::Retryable);
    EXPECT_EQ(failed.osError, EPIPE);

    const uint8_t shortReply[] = {0, 0, 0};
    EXPECT_EQ(wire::decodeReply(shortReply, nullptr).error, ErrorClass::Fatal);
    const uint8_t badClass[] = {9, 0, 0, 0, 0};
    EXPECT_EQ(wire::decodeReply(badClass, nullptr).error, ErrorClass::Fatal);
}

TEST(SimSocketBackend, UnreachableDaemonLooksLikeNoMouse) {
    SimSocketBackend backend("/nonexistent/dir/talwyn.sock");
    EXPECT_TRUE(backend.enumerate(0, 0).empty());
    Result error;
    EXPECT_EQ(backend.open("x", &error), nullptr);
    EXPECT_EQ(error.error, ErrorClass::Fatal);
    SimSocketMonitor monitor("/nonexistent/dir/talwyn.sock");
    EXPECT_FALSE(monitor.start([](const DeviceNotice&) {}));
    SimSocketBackend tooLong(std::string(200, 'x'));
    EXPECT_TRUE(tooLong.enumerate(0, 0).empty());
}

} // namespace
} // namespace talwyn::hid
