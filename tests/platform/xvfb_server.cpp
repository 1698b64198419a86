#include "xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>

extern char** environ;

namespace talwyn::platform::testing {

namespace {
constexpr int kStartTimeoutMs = 10000;
}

XvfbServer::XvfbServer(const std::string& screen) {
    std::array<int, 2> pipeFds{};
    if (::pipe2(pipeFds.data(), O_CLOEXEC) != 0) {
        return;
    }
    // Xvfb picks a free display and writes its number to the descriptor once
    // it accepts clients.
    const int writeFd = ::dup(pipeFds[1]); // without close-on-exec, for the child
    const std::string fdText = std::to_string(writeFd);
    const char* argv[] = {"Xvfb",    "-displayfd", fdText.c_str(), "-nolisten", "tcp",
                          "-screen", "0",          screen.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned =
        posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(writeFd);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(pipeFds[0]);
        return;
    }
    std::string number;
    pollfd fd{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (::poll(&fd, 1, kStartTimeoutMs) > 0 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(pipeFds[0]);
    if (!number.empty()) {
        displayName_ = ":" + number;
    }
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

} // namespace talwyn::platform::testing
