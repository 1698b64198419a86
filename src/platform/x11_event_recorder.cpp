#include "platform/x11_event_recorder.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>

namespace talwyn::platform {

namespace {

// A core event on the wire is 32 bytes; RECORD counts in 4-byte units.
constexpr int kEventUnits = sizeof(xEvent) / 4;

Display* openDisplay(const std::string& name) {
    return XOpenDisplay(name.empty() ? nullptr : name.c_str());
}

bool hasRecord(Display* display) {
    int major = 0;
    int minor = 0;
    return XRecordQueryVersion(display, &major, &minor) != 0;
}

std::optional<RecordedInput::Kind> kindOf(int type) {
    switch (type) {
    case KeyPress:
        return RecordedInput::Kind::KeyDown;
    case KeyRelease:
        return RecordedInput::Kind::KeyUp;
    case ButtonPress:
        return RecordedInput::Kind::ButtonDown;
    case ButtonRelease:
        return RecordedInput::Kind::ButtonUp;
    default:
        return std::nullopt;
    }
}

// The server's answer to enabling a context comes before any event.
constexpr int kStartTimeoutMs = 2000;

void intercept(XPointer closure, XRecordInterceptData* data) {
    auto* sink = reinterpret_cast<X11EventRecorder::Sink*>(closure);
    if (data->category == XRecordStartOfData) {
        sink->recording = true;
    } else if (data->category == XRecordFromServer && data->data_len >= kEventUnits) {
        const auto* event = reinterpret_cast<const xEvent*>(data->data);
        if (const auto kind = kindOf(event->u.u.type & 0x7F)) {
            sink->handler(RecordedInput{*kind, event->u.u.detail, event->u.keyButtonPointer.rootX,
                                        event->u.keyButtonPointer.rootY});
        }
    }
    XRecordFreeData(data);
}

} // namespace

X11EventRecorder::X11EventRecorder(std::string displayName, RecordedEvents events)
    : displayName_(std::move(displayName)), events_(events) {}

X11EventRecorder::~X11EventRecorder() {
    stop();
}

bool X11EventRecorder::available(const std::string& displayName) {
    Display* display = openDisplay(displayName);
    if (display == nullptr) {
        return false;
    }
    const bool record = hasRecord(display);
    XCloseDisplay(display);
    return record;
}

bool X11EventRecorder::start(Handler handler) {
    if (running()) {
        return true;
    }
    control_ = openDisplay(displayName_);
    data_ = openDisplay(displayName_);
    if (control_ == nullptr || data_ == nullptr || !hasRecord(control_)) {
        closeConnections();
        return false;
    }
    XRecordRange* range = XRecordAllocRange();
    if (range == nullptr) {
        closeConnections();
        return false;
    }
    if (events_ == RecordedEvents::Keys) {
        range->device_events = {KeyPress, KeyRelease};
    } else {
        range->device_events = {ButtonPress, ButtonRelease};
    }
    XRecordClientSpec clients = XRecordAllClients;
    context_ = XRecordCreateContext(control_, 0, &clients, 1, &range, 1);
    XFree(range);
    // The context must exist on the server before the data connection uses it.
    XSync(control_, False);
    sink_ = Sink{std::move(handler), false};
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (context_ == 0 || stopFd_ < 0 ||
        !XRecordEnableContextAsync(data_, context_, intercept, reinterpret_cast<XPointer>(&sink_)) ||
        !awaitRecording()) {
        closeConnections();
        return false;
    }
    thread_ = std::thread([this] { run(); });
    return true;
}

bool X11EventRecorder::awaitRecording() {
    XFlush(data_);
    pollfd fd{ConnectionNumber(data_), POLLIN, 0};
    while (!sink_.recording) {
        XRecordProcessReplies(data_);
        if (sink_.recording) {
            break;
        }
        const int ready = poll(&fd, 1, kStartTimeoutMs);
        if (ready == 0 || (ready < 0 && errno != EINTR) ||
            (fd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return false;
        }
    }
    return true;
}

void X11EventRecorder::run() {
    std::array<pollfd, 2> fds{pollfd{ConnectionNumber(data_), POLLIN, 0}, pollfd{stopFd_, POLLIN, 0}};
    for (;;) {
        // Hands every reply already read or waiting to the handler.
        XRecordProcessReplies(data_);
        if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return;
        }
    }
}

void X11EventRecorder::stop() {
    if (running()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    closeConnections();
}

void X11EventRecorder::closeConnections() {
    if (context_ != 0) {
        XRecordDisableContext(control_, context_);
        XRecordFreeContext(control_, context_);
        XSync(control_, False);
        context_ = 0;
    }
    if (data_ != nullptr) {
        XCloseDisplay(data_);
        data_ = nullptr;
    }
    if (control_ != nullptr) {
        XCloseDisplay(control_);
        control_ = nullptr;
    }
    if (stopFd_ >= 0) {
        ::close(stopFd_);
        stopFd_ = -1;
    }
    sink_ = Sink{};
}

} // namespace talwyn::platform
