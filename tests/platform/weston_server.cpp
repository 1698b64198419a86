#include "weston_server.h"

#include "support/read_file.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace talwyn::platform::testing {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using talwyn::testing::readFile;

constexpr char kSocketName[] = "talwyn-test";
constexpr char kXAnnouncement[] = "xserver listening on display ";
constexpr auto kStartTimeout = 10s;

} // namespace

WestonServer::WestonServer(const fs::path& folder) : folder_(folder) {
    fs::remove_all(folder_);
    fs::create_directories(runtimeFolder());
    fs::permissions(runtimeFolder(), fs::perms::owner_all, fs::perm_options::replace);
    // XWayland puts its socket there; Xvfb makes the folder, weston does not.
    ::mkdir("/tmp/.X11-unix", 01777);
    const fs::path log = folder_ / "weston.log";

    std::vector<std::string> env{"XDG_RUNTIME_DIR=" + runtimeFolder().string()};
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0 && std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0 &&
            std::strncmp(*e, "DISPLAY=", 8) != 0) {
            env.emplace_back(*e);
        }
    }
    std::vector<std::string> args{"weston",
                                  "--backend=headless-backend.so",
                                  std::string("--socket=") + kSocketName,
                                  "--xwayland",
                                  "--idle-time=0",
                                  "--width=1280",
                                  "--height=800",
                                  "--log=" + log.string()};
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, "weston", &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (pid_ <= 0) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1; // ended at once: no usable backend here
            return;
        }
        const std::string text = readFile(log);
        const auto at = text.find(kXAnnouncement);
        if (fs::exists(runtimeFolder() / kSocketName) && at != std::string::npos) {
            const auto end = text.find('\n', at);
            xDisplay_ = text.substr(at + sizeof(kXAnnouncement) - 1, end - at - sizeof(kXAnnouncement) + 1);
            waylandDisplay_ = kSocketName;
            return;
        }
        std::this_thread::sleep_for(100ms);
    }
    if (fs::exists(runtimeFolder() / kSocketName)) {
        waylandDisplay_ = kSocketName;
    }
}

WestonServer::~WestonServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

} // namespace talwyn::platform::testing
