#include "support/weston_server.h"

#include "support/read_file.h"

#include <sys/stat.h>

#include <chrono>
#include <thread>

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

    weston_ = std::make_unique<talwyn::testing::ChildProcess>(talwyn::testing::ChildSpec{
        {"weston", "--backend=headless-backend.so", std::string("--socket=") + kSocketName, "--xwayland",
         "--idle-time=0", "--width=1280", "--height=800", "--log=" + log.string()},
        talwyn::testing::environmentWith({"XDG_RUNTIME_DIR=" + runtimeFolder().string()},
                                         {"XDG_RUNTIME_DIR=", "WAYLAND_DISPLAY=", "DISPLAY="}),
        fs::path("/dev/null"),
        fs::path("/dev/null")});
    if (!weston_->started()) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (weston_->exitCode()) {
            return; // ended at once: no usable backend here
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

} // namespace talwyn::platform::testing
