#include "x_windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace talwyn::platform::testing {

namespace {

struct FoundWindow {
    Window id = 0;
    QRect rect;
};

using Matcher = std::function<bool(const std::string& title, QSize size)>;

std::string titleOf(Display* display, Window window) {
    std::string title;
    XTextProperty name{};
    if (XGetWMName(display, window, &name) != 0 && name.value != nullptr) {
        title.assign(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
    }
    return title;
}

// `window` when it is viewable and matches, in root coordinates.
std::optional<FoundWindow> matching(Display* display, Window window, const Matcher& matches) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable ||
        !matches(titleOf(display, window), QSize(attributes.width, attributes.height))) {
        return std::nullopt;
    }
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return FoundWindow{window, QRect(x, y, attributes.width, attributes.height)};
}

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> list;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 && children != nullptr) {
        list.assign(children, children + count);
        XFree(children);
    }
    return list;
}

// Top-level windows and, where a window manager framed them, the windows inside the frames.
std::optional<FoundWindow> findOn(Display* display, const Matcher& matches) {
    for (const Window top : childrenOf(display, DefaultRootWindow(display))) {
        if (auto found = matching(display, top, matches)) {
            return found;
        }
        for (const Window framed : childrenOf(display, top)) {
            if (auto found = matching(display, framed, matches)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QRect> findTopWindow(const std::string& displayName, const Matcher& matches) {
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return std::nullopt;
    }
    const std::optional<FoundWindow> found = findOn(display, matches);
    XCloseDisplay(display);
    return found ? std::optional(found->rect) : std::nullopt;
}

QImage grabWindow(const std::string& displayName, const std::string& title) {
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return {};
    }
    QImage image;
    const auto found = findOn(display, [&](const std::string& t, QSize) { return t == title; });
    XImage* shot = found ? XGetImage(display, found->id, 0, 0, static_cast<unsigned>(found->rect.width()),
                                     static_cast<unsigned>(found->rect.height()), AllPlanes, ZPixmap)
                         : nullptr;
    if (shot != nullptr) {
        image = QImage(found->rect.size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                image.setPixel(x, y, static_cast<QRgb>(XGetPixel(shot, x, y)));
            }
        }
        XDestroyImage(shot);
    }
    XCloseDisplay(display);
    return image;
}

} // namespace talwyn::platform::testing
