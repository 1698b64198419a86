#pragma once
// talwyn-mouse-sim started as its own process for one test, with the tools
// run against it the way a user runs them.

#include "hid/sim_wire.h"
#include "hid/unique_fd.h"
#include "support/child_process.h"
#include "support/read_file.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace talwyn::testing {

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Lower-case hex of raw bytes, as the simulated mouse's state shows images.
inline std::string hexOf(const std::string& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

// A program with TALWYN_HID replaced and stdout/stderr in files.
inline std::unique_ptr<ChildProcess> startProgram(std::vector<std::string> args,
                                                  const std::vector<std::string>& env,
                                                  const std::filesystem::path& out,
                                                  const std::filesystem::path& err) {
    return std::make_unique<ChildProcess>(
        ChildSpec{std::move(args), environmentWith(env, {"TALWYN_HID="}), out, err});
}

class SimDaemonTest : public ::testing::Test {
protected:
    struct Run {
        int code;
        std::string out, err;
    };

    void SetUp() override {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }

    void startDaemon(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {bin + "/talwyn-mouse-sim", "serve", "--socket",
                                         socket.string(),           "--log", log.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        daemon = startProgram(args, {}, dir / "daemon.out", dir / "daemon.err");
        ASSERT_TRUE(daemon->started());
        // Wait until it answers; it is a separate process, so poll its socket.
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (hid::UniqueFd fd(hid::wire::connectTo(socket.string())); fd)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "the simulated mouse did not come up: " << readFile(dir / "daemon.err");
    }

    Run run(std::vector<std::string> args) {
        const std::filesystem::path out = dir / "run.out", err = dir / "run.err";
        const int code =
            startProgram(std::move(args), {"TALWYN_HID=sim:" + socket.string()}, out, err)->wait();
        return {code, readFile(out), readFile(err)};
    }

    // One `talwyn-mouse-sim ctl` command; its JSON answer.
    nlohmann::json control(const std::vector<std::string>& command) {
        std::vector<std::string> args = {bin + "/talwyn-mouse-sim", "ctl", "--socket", socket.string()};
        args.insert(args.end(), command.begin(), command.end());
        const Run r = run(std::move(args));
        EXPECT_EQ(r.code, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }
    nlohmann::json state() { return control({"state"}); }

    // One folder per test, so tests run in parallel do not meet; short, as
    // the socket path inside it must fit a socket address.
    std::filesystem::path dir = std::filesystem::path(TALWYN_TEST_TMP) / "e2e" /
                                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::path socket = dir / "mouse.sock";
    std::filesystem::path log = dir / "wire.log";
    std::string bin = TALWYN_BIN_DIR;
    std::unique_ptr<ChildProcess> daemon;
};

} // namespace talwyn::testing
