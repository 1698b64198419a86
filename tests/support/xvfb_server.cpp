#include "support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <string>

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
    server_ = std::make_unique<talwyn::testing::ChildProcess>(talwyn::testing::ChildSpec{
        {"Xvfb", "-displayfd", std::to_string(writeFd), "-nolisten", "tcp", "-screen", "0", screen},
        talwyn::testing::environmentWith({}),
        std::nullopt,
        "/dev/null"});
    ::close(writeFd);
    ::close(pipeFds[1]);
    std::string number;
    pollfd fd{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (server_->started() && ::poll(&fd, 1, kStartTimeoutMs) > 0 && ::read(pipeFds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    ::close(pipeFds[0]);
    if (!number.empty()) {
        displayName_ = ":" + number;
    }
}

} // namespace talwyn::platform::testing
