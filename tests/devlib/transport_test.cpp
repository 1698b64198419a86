// The transport's retry and busy rules, and the upload retries of button
// functions, against a scripted device whose every answer the test chooses.

#include "devlib/config_transport.h"
#include "devlib/settings_commands.h"
#include "protocol/device_ids.h"
#include "support/recording_sleeper.h"

#include <gtest/gtest.h>

#include <deque>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

hid::Result ok() {
    return hid::Result::success(64);
}
hid::Result transient() {
    return hid::Result::failure(hid::ErrorClass::Retryable, EPIPE);
}
hid::Result fatal() {
    return hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
}

// Answers from scripts; once a script runs out, transfers succeed with status 1.
struct Script {
    struct Read {
        hid::Result result;
        uint8_t status;
    };
    std::deque<hid::Result> sends;
    std::deque<Read> reads;
    std::vector<std::vector<uint8_t>> sent;
    int readCount = 0;
    int opened = 0;
};

class ScriptedDevice final : public hid::HidDevice {
public:
    ScriptedDevice(Script& script, std::string path) : script_(script), path_(std::move(path)) {}
    hid::Result sendFeatureReport(std::span<const uint8_t> data) override {
        script_.sent.emplace_back(data.begin(), data.end());
        return next(script_.sends, ok());
    }
    hid::Result getFeatureReport(std::span<uint8_t> buffer) override {
        ++script_.readCount;
        Script::Read read{ok(), 1};
        if (!script_.reads.empty()) {
            read = script_.reads.front();
            script_.reads.pop_front();
        }
        if (read.result.ok())
            buffer[1] = read.status;
        return read.result;
    }
    hid::Result readInputReport(std::span<uint8_t>, int) override { return hid::Result::success(0); }
    void cancelInput() override {} // reads never wait
    const std::string& path() const override { return path_; }

private:
    static hid::Result next(std::deque<hid::Result>& queue, hid::Result fallback) {
        if (queue.empty())
            return fallback;
        hid::Result r = queue.front();
        queue.pop_front();
        return r;
    }
    Script& script_;
    std::string path_;
};

class ScriptedBackend final : public hid::HidBackend {
public:
    ScriptedBackend(Script& script, std::vector<hid::DeviceInfo> interfaces)
        : script_(script), interfaces_(std::move(interfaces)) {}
    std::vector<hid::DeviceInfo> enumerate(uint16_t, uint16_t productId) override {
        std::vector<hid::DeviceInfo> out;
        for (const auto& info : interfaces_)
            if (info.productId == productId)
                out.push_back(info);
        return out;
    }
    std::unique_ptr<hid::HidDevice> open(const std::string& path, hid::Result*) override {
        ++script_.opened;
        openedPaths.push_back(path);
        return std::make_unique<ScriptedDevice>(script_, path);
    }
    std::vector<std::string> openedPaths;

private:
    Script& script_;
    std::vector<hid::DeviceInfo> interfaces_;
};

hid::DeviceInfo collection(std::string path, uint16_t product, uint16_t page, uint16_t usage) {
    return {std::move(path), protocol::kVendorId, product, 0x0105, page, usage, 1};
}

class DevlibTransportTest : public ::testing::Test {
protected:
    Script script;
    ScriptedBackend backend{script,
                            {collection("events", protocol::kProductIdNormal, 0x0001, 2),
                             collection("vendor2", protocol::kProductIdNormal, 0xFF02, 1),
                             collection("config", protocol::kProductIdNormal, 0xFF01, 2),
                             collection("config-again", protocol::kProductIdNormal, 0xFF01, 2)}};
    hid::RecordingSleeper sleeper;
    ConfigTransport transport{backend, sleeper};
    std::array<uint8_t, 64> buffer{0xA1};

    bool send() { return transport.sendReport(buffer, 30ms); }
    bool receive() { return transport.receiveReport(buffer); }
};

TEST_F(DevlibTransportTest, OpensOnlyTheFirstConfigurationCollection) {
    EXPECT_TRUE(transport.openConfigInterface(protocol::kProductIdNormal));
    EXPECT_EQ(backend.openedPaths, std::vector<std::string>{"config"});
    EXPECT_FALSE(transport.openConfigInterface(protocol::kProductIdBootloader));
    EXPECT_FALSE(transport.isOpen()) << "a failed open forgets the previous interface";
    EXPECT_TRUE(transport.openCompliantInterface());
    EXPECT_EQ(backend.openedPaths.back(), "vendor2");
}

TEST_F(DevlibTransportTest, NothingIsSentOrReadWithoutAnInterface) {
    EXPECT_FALSE(send());
    EXPECT_FALSE(receive());
    EXPECT_TRUE(script.sent.empty());
}

TEST_F(DevlibTransportTest, WriteRetries) {
    struct Case {
        const char* name;
        std::deque<hid::Result> sends;
        bool result;
        std::size_t attempts;
        Pauses pauses;
    };
    const std::vector<Case> cases{
        {"first write succeeds", {}, true, 1, {}},
        {"transient then success", {transient()}, true, 2, {}},
        {"three transients", {transient(), transient(), transient()}, true, 4, {30ms, 30ms}},
        {"four transients",
         {transient(), transient(), transient(), transient()},
         false,
         4,
         {30ms, 30ms, 30ms}},
        {"fatal is not retried", {fatal()}, false, 1, {}},
        {"fatal on a retry ends nothing early", {transient(), fatal(), ok()}, true, 3, {30ms}},
    };
    ASSERT_TRUE(transport.openConfigInterface(protocol::kProductIdNormal));
    for (const Case& c : cases) {
        script.sends = c.sends;
        script.sent.clear();
        sleeper.pauses.clear();
        EXPECT_EQ(send(), c.result) << c.name;
        EXPECT_EQ(script.sent.size(), c.attempts) << c.name;
        EXPECT_EQ(sleeper.pauses, c.pauses) << c.name;
    }
}

TEST_F(DevlibTransportTest, ReadRetriesAndBusyPolls) {
    using Read = Script::Read;
    struct Case {
        const char* name;
        std::deque<Read> reads;
        bool result;
        uint8_t status;
        int attempts;
        Pauses pauses;
    };
    const std::vector<Case> cases{
        {"done at once", {{ok(), 1}}, true, 1, 1, {}},
        {"other status is the caller's", {{ok(), 2}}, true, 2, 1, {}},
        {"busy three times then done", {{ok(), 3}, {ok(), 3}, {ok(), 4}, {ok(), 1}}, true, 1, 4, {0ms, 30ms}},
        {"busy four times", {{ok(), 3}, {ok(), 3}, {ok(), 3}, {ok(), 3}}, true, 3, 4, {0ms, 30ms, 60ms}},
        {"busy then a failed poll",
         {{ok(), 3}, {ok(), 3}, {ok(), 3}, {transient(), 0}},
         false,
         0,
         4,
         {0ms, 30ms}},
        {"busy then another status", {{ok(), 3}, {ok(), 2}, {ok(), 2}, {ok(), 2}}, true, 2, 4, {}},
        {"transient then read", {{transient(), 0}, {ok(), 3}}, true, 3, 2, {}},
        {"five transients",
         {{transient(), 0}, {transient(), 0}, {transient(), 0}, {transient(), 0}, {transient(), 0}},
         false,
         0,
         5,
         {50ms, 50ms, 50ms, 50ms}},
        {"fatal", {{fatal(), 0}}, false, 0, 1, {}},
    };
    ASSERT_TRUE(transport.openConfigInterface(protocol::kProductIdNormal));
    for (const Case& c : cases) {
        script.reads = c.reads;
        script.readCount = 0;
        sleeper.pauses.clear();
        buffer = {0xA1};
        EXPECT_EQ(receive(), c.result) << c.name;
        EXPECT_EQ(buffer[1], c.status) << c.name;
        EXPECT_EQ(buffer[0], 0xA1) << c.name;
        EXPECT_EQ(script.readCount, c.attempts) << c.name;
        EXPECT_EQ(sleeper.pauses, c.pauses) << c.name;
    }
}

TEST_F(DevlibTransportTest, RefusedButtonUploadIsTriedFourTimes) {
    CommandChannel channel(backend, sleeper);
    ButtonSettings macro{};
    macro.button = 1;
    macro.functionType = 19;
    // Entry status done, then every upload answered with status 2.
    script.reads = {{ok(), 1}, {ok(), 2}, {ok(), 2}, {ok(), 2}, {ok(), 2}};
    EXPECT_EQ(setButtonSettings(channel, 1, &macro), kResultDeviceError);
    ASSERT_EQ(script.sent.size(), 5u);
    EXPECT_EQ(script.sent[1][0], 0xA0);
    EXPECT_EQ(script.sent[4][1], 0x21);
    EXPECT_EQ(sleeper.pauses, (Pauses{50ms, 100ms, 0ms, 100ms, 50ms, 100ms, 100ms, 100ms}));

    // A launch upload is not repeated; a failed block write answers 2 inside
    // and 20 to the host.
    script.sent.clear();
    script.sends = {ok(), fatal()};
    const uint8_t path[] = {'a'};
    LaunchSettings launch{1, 1, path, 1};
    EXPECT_EQ(setButtonLaunch(channel, &launch, LaunchKind::Browser), kResultDeviceError);
    EXPECT_EQ(script.sent.size(), 2u);
    protocol::DataBlock block{};
    script.sends = {fatal()};
    EXPECT_EQ(channel.uploadButtonData(block, 1, 1), kResultInvalidArgument);
}

} // namespace
} // namespace talwyn::devlib
