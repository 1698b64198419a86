#include "hid/hidraw_input.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <system_error>

namespace talwyn::hid {
namespace {

const Result kCancelled = Result::failure(ErrorClass::Fatal, ECANCELED);
const Result kDeviceGone = Result::failure(ErrorClass::Fatal, ENODEV);

UniqueFd makeWakeDescriptor() {
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    return wake;
}

// What is left of a wait of timeoutMs that began at `start`; -1 stays -1.
int remainingMs(int timeoutMs, std::chrono::steady_clock::time_point start) {
    if (timeoutMs < 0)
        return -1;
    const auto spent =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    return spent >= timeoutMs ? 0 : timeoutMs - static_cast<int>(spent);
}

} // namespace

std::unique_ptr<HidrawInput> HidrawInput::open(const std::string& path) {
    UniqueFd node(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (!node)
        return nullptr;
    try {
        return std::make_unique<HidrawInput>(std::move(node));
    } catch (const std::system_error&) {
        return nullptr;
    }
}

HidrawInput::HidrawInput(UniqueFd node) : node_(std::move(node)), wake_(makeWakeDescriptor()) {}

Result HidrawInput::read(std::span<uint8_t> buffer, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        std::array<pollfd, 2> fds{{{node_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), remainingMs(timeoutMs, start));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Result::failure(ErrorClass::Fatal, errno);
        }
        if (ready == 0)
            return Result::success(0);
        if (fds[1].revents != 0)
            return kCancelled;
        // Before any read, as hidapi does: an unplugged node only hangs up,
        // and what it still held is of a mouse that is gone.
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            return kDeviceGone;
        const ssize_t n = ::read(node_.get(), buffer.data(), buffer.size());
        if (n > 0)
            return Result::success(static_cast<std::size_t>(n));
        if (n == 0)
            return kDeviceGone; // end of stream: the node is gone
        if (errno == EINTR || errno == EAGAIN)
            continue;
        return Result::failure(ErrorClass::Fatal, errno);
    }
}

void HidrawInput::cancel() {
    const uint64_t one = 1;
    // The counter stays non-zero, so every later poll returns at once too;
    // a full counter (EAGAIN) is just as readable.
    [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
}

} // namespace talwyn::hid
