#include "device/device_commands.h"
#include "hid/sim_socket_backend.h"
#include "hid/sim_wire.h"
#include "hid/unique_fd.h"
#include "sim/sim_server.h"

#include "support/notice_collector.h"
#include "support/recording_sleeper.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <fstream>

#include <future>

namespace talwyn::sim {
namespace {

using namespace std::chrono_literals;

struct ServerFixture : ::testing::Test {
    // One socket per test, so tests run in parallel do not meet.
    std::filesystem::path socket =
        std::filesystem::path(TALWYN_TEST_TMP) /
        (std::string("sim_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".sock");
    SimMouse mouse;
    SimServer server{mouse};
    hid::SimSocketBackend backend{socket.string()};

    void SetUp() override {
        std::filesystem::create_directories(socket.parent_path());
        std::string error;
        ASSERT_TRUE(server.start(socket, &error)) << error;
    }

    std::unique_ptr<hid::HidDevice> openRole(int index) {
        return backend.open(mouse.interfaces()[index].info.path);
    }
};

TEST_F(ServerFixture, FeatureAndInputReportsCrossTheSocket) {
    const auto listed = backend.enumerate(protocol::kVendorId, protocol::kProductIdNormal);
    const auto local = mouse.enumerate(protocol::kVendorId, protocol::kProductIdNormal);
    ASSERT_EQ(listed.size(), local.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].path, local[i].path);
        EXPECT_EQ(listed[i].usagePage, local[i].usagePage);
        EXPECT_EQ(listed[i].releaseNumber, local[i].releaseNumber);
        EXPECT_EQ(listed[i].interfaceNumber, local[i].interfaceNumber);
    }

    auto config = openRole(1);
    ASSERT_TRUE(config);
    std::array<uint8_t, 64> command{0xA1, 0x04, 0, 0, 0, 2};
    EXPECT_TRUE(config->sendFeatureReport(command).ok());
    std::array<uint8_t, 64> status{0xA1};
    const auto got = config->getFeatureReport(status);
    EXPECT_TRUE(got.ok());
    EXPECT_EQ(got.bytes, 64u);
    EXPECT_EQ(status[1], protocol::kReplyDone);
    EXPECT_EQ(mouse.snapshot().activeSlot, 2);

    auto events = openRole(0);
    std::array<uint8_t, 9> input{};
    EXPECT_EQ(events->readInputReport(input, 0).bytes, 0u);
    auto pending = std::async(std::launch::async, [&] { return events->readInputReport(input, -1); });
    mouse.pressDpi();
    const auto read = pending.get();
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, 9u);
    EXPECT_EQ(input, (std::array<uint8_t, 9>{3, 2, 2, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ServerFixture, FailuresKeepTheirClassAcrossTheSocket) {
    hid::RecordingSleeper sleeper;
    device::DeviceLink link(backend, sleeper);
    ASSERT_EQ(link.open(), 1);
    mouse.injectFailures(hid::ErrorClass::Retryable, 2);
    EXPECT_EQ(device::ActivateProfile(link, 4), device::CommandStatus::Done);
    EXPECT_EQ(sleeper.pauses, (std::vector<std::chrono::milliseconds>{50ms, 1500ms}));
    mouse.injectFailures(hid::ErrorClass::Fatal, 1);
    EXPECT_EQ(device::ActivateProfile(link, 1), device::CommandStatus::NotConfirmed);
    EXPECT_EQ(mouse.snapshot().activeSlot, 4);

    const std::string configPath = mouse.interfaces()[1].info.path;
    mouse.unplug();
    hid::Result error;
    EXPECT_EQ(backend.open(configPath, &error), nullptr);
    EXPECT_EQ(error.error, hid::ErrorClass::Fatal);
    EXPECT_TRUE(backend.enumerate(0, 0).empty());
}

TEST_F(ServerFixture, MonitorReceivesPlugNotices) {
    hid::SimSocketMonitor monitor(socket.string());
    testing::NoticeCollector notices;
    ASSERT_TRUE(monitor.start(notices.callback()));
    const auto paths = mouse.interfaces();
    std::string reply;
    ASSERT_TRUE(hid::sendSimControl(socket.string(), {"unplug"}, reply)) << reply;
    const auto got = notices.waitFor(3);
    ASSERT_EQ(got.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(got[i].change, hid::DeviceChange::Removal);
        EXPECT_EQ(got[i].interfacePath, paths[i].info.path);
    }
    monitor.stop();
}

TEST_F(ServerFixture, ControlCommandsAnswerJson) {
    std::string reply;
    ASSERT_TRUE(hid::sendSimControl(socket.string(), {"state"}, reply));
    EXPECT_EQ(nlohmann::json::parse(reply)["mode"], "normal");
    EXPECT_FALSE(hid::sendSimControl(socket.string(), {"fault", "busy"}, reply));
    EXPECT_TRUE(nlohmann::json::parse(reply).contains("error"));
    EXPECT_FALSE(hid::sendSimControl((socket.parent_path() / "nobody.sock").string(), {"state"}, reply));
}

// The stamps are what a run is timed by: each line of the file starts with the
// monotonic clock's microseconds, in the order the reports came.
TEST_F(ServerFixture, WirelogCommandStampsEveryLaterReport) {
    const std::filesystem::path file = socket.parent_path() / "stamped_wire.log";
    std::filesystem::remove(file);
    std::string reply;
    auto config = openRole(1);
    ASSERT_TRUE(config);
    std::array<uint8_t, 64> status{0xA1};
    config->getFeatureReport(status); // before the command: not in the file
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(hid::sendSimControl(socket.string(), {"wirelog", file.string()}, reply)) << reply;
    std::array<uint8_t, 64> command{0xA1, 0x04, 0, 0, 0, 3};
    ASSERT_TRUE(config->sendFeatureReport(command).ok());
    ASSERT_TRUE(config->getFeatureReport(status).ok());
    const auto after = std::chrono::steady_clock::now();

    std::ifstream in(file);
    std::vector<std::pair<long long, std::string>> lines;
    long long stamp = 0;
    std::string rest;
    while (in >> stamp && std::getline(in, rest))
        lines.emplace_back(stamp, rest);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].second.starts_with(" set_feature ")) << lines[0].second;
    EXPECT_TRUE(lines[1].second.starts_with(" get_feature ")) << lines[1].second;
    using std::chrono::duration_cast, std::chrono::microseconds;
    EXPECT_GE(lines[0].first, duration_cast<microseconds>(before.time_since_epoch()).count());
    EXPECT_LE(lines[0].first, lines[1].first);
    EXPECT_LE(lines[1].first, duration_cast<microseconds>(after.time_since_epoch()).count());

    EXPECT_FALSE(hid::sendSimControl(socket.string(), {"wirelog", (file / "no_folder.log").string()}, reply));
    EXPECT_TRUE(nlohmann::json::parse(reply).contains("error")) << reply;
}

TEST_F(ServerFixture, MalformedControlCommandsGetAnErrorAnswerAndTheServerGoesOn) {
    const std::vector<std::vector<std::string>> commands = {
        {"\xFF"},
        {"\xC3\x28", "state"},
        {"press", "launch", "\xFF\xFE"},
        {"fault", "error", "\xE9", "1"},
        {"surface", "\xE9"},
        {},
    };
    for (const auto& command : commands) {
        std::string reply;
        EXPECT_FALSE(hid::sendSimControl(socket.string(), command, reply)) << reply;
        const auto answer = nlohmann::json::parse(reply, nullptr, false);
        ASSERT_FALSE(answer.is_discarded()) << reply;
        EXPECT_TRUE(answer.contains("error")) << reply;
    }
    std::string reply;
    EXPECT_TRUE(hid::sendSimControl(socket.string(), {"state"}, reply)) << reply;
}

TEST_F(ServerFixture, MalformedRequestsGetAClearAnswerAndTheServerGoesOn) {
    hid::UniqueFd raw(hid::wire::connectTo(socket.string()));
    ASSERT_TRUE(raw);
    auto ask = [&](std::vector<uint8_t> payload) {
        EXPECT_TRUE(hid::wire::sendFrame(raw.get(), payload));
        const auto frame = hid::wire::receiveFrame(raw.get());
        return frame ? hid::wire::decodeReply(*frame, nullptr)
                     : hid::Result::failure(hid::ErrorClass::None, -1);
    };
    EXPECT_EQ(ask({0x55}).error, hid::ErrorClass::Fatal);                  // unknown message
    EXPECT_EQ(ask({}).error, hid::ErrorClass::Fatal);                      // empty payload
    EXPECT_EQ(ask({3, 0xA1, 0x03}).osError, EBADF);                        // set_feature before open
    EXPECT_EQ(ask({1, 0xD4}).error, hid::ErrorClass::Fatal);               // truncated enumerate
    EXPECT_EQ(ask({2, 'n', 'o', 'p', 'e'}).error, hid::ErrorClass::Fatal); // unknown path
    EXPECT_EQ(ask({2, 0xFF, 0xC3}).osError, ENOENT);                       // path that is not UTF-8

    // Malformed reports on an open configuration interface.
    const std::string config = mouse.interfaces()[1].info.path;
    std::vector<uint8_t> open{2};
    open.insert(open.end(), config.begin(), config.end());
    ASSERT_TRUE(ask(open).ok());
    EXPECT_EQ(ask({3}).osError, EINVAL);                               // empty report
    EXPECT_EQ(ask({4, 0, 0, 0, 0, 0xA1}).osError, EINVAL);             // zero length
    EXPECT_EQ(ask({4, 0x01, 0x00, 0x01, 0x00, 0xA1}).osError, EINVAL); // over the limit
    EXPECT_EQ(ask({4, 0x40}).osError, EINVAL);                         // truncated
    EXPECT_EQ(ask({4, 0x40, 0, 0, 0, 0x55}).osError, EINVAL);          // unknown report ID
    EXPECT_EQ(ask({5, 0xFF}).osError, EINVAL);                         // truncated input read
    EXPECT_TRUE(ask({3, 0xA1}).ok());                                  // taken, refused by the mouse
    EXPECT_NE(mouse.wireLog().back().find("note "), std::string::npos) << mouse.wireLog().back();

    // A frame header claiming more than the limit ends that connection only.
    const uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0x7F};
    ASSERT_EQ(::send(raw.get(), huge, sizeof huge, MSG_NOSIGNAL), 4);
    EXPECT_FALSE(hid::wire::receiveFrame(raw.get()));
    EXPECT_EQ(backend.enumerate(0, 0).size(), 3u);
}

TEST_F(ServerFixture, StopEndsBlockedReadersAndRemovesTheSocket) {
    auto events = openRole(0);
    std::array<uint8_t, 9> input{};
    auto pending = std::async(std::launch::async, [&] { return events->readInputReport(input, -1); });
    // The reader is blocked in the server; stopping must release it.
    std::this_thread::sleep_for(50ms);
    server.stop();
    EXPECT_FALSE(pending.get().ok());
    EXPECT_FALSE(std::filesystem::exists(socket));
}

TEST_F(ServerFixture, CancelWakesABlockedReadAndLeavesTheServerServing) {
    auto events = openRole(0);
    std::array<uint8_t, 9> input{};
    auto pending = std::async(std::launch::async, [&] { return events->readInputReport(input, -1); });
    events->cancelInput();
    EXPECT_EQ(pending.get().error, hid::ErrorClass::Fatal);
    mouse.pressDpi();
    EXPECT_FALSE(events->readInputReport(input, -1).ok()) << "a cancelled link reads nothing more";
    EXPECT_EQ(input[0], 0);
    EXPECT_EQ(backend.enumerate(0, 0).size(), 3u);
}

TEST_F(ServerFixture, SecondServerOnALiveSocketIsRefusedAStaleOneReplaced) {
    SimMouse other;
    SimServer second(other);
    std::string error;
    EXPECT_FALSE(second.start(socket, &error));
    EXPECT_NE(error.find("already serves"), std::string::npos) << error;
    server.stop();

    // Leave a socket file nobody listens on, as after a crash.
    {
        hid::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    ASSERT_TRUE(std::filesystem::exists(socket));
    EXPECT_TRUE(second.start(socket, &error)) << error;
    EXPECT_EQ(backend.enumerate(0, 0).size(), 3u);
}

} // namespace
} // namespace talwyn::sim
