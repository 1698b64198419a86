#include "x_windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace talwyn::platform::testing {

namespace {

struct FoundWindow {
    Window id = 0;
    QRect rect;
};

using Matcher = std::function<bool(const std::string& title, QSize size)>;

std::optional<FoundWindow> findOn(Display* display, const Matcher& matches) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::optional<FoundWindow> found;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return found;
    }
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        std::string title;
        XTextProperty name{};
        if (XGetWMName(display, children[i], &name) != 0 && name.value != nullptr) {
            title.assign(reinterpret_cast<const char*>(name.value), name.nitems);
            XFree(name.value);
        }
        if (matches(title, QSize(attributes.width, attributes.height))) {
            found = FoundWindow{children[i],
                                QRect(attributes.x, attributes.y, attributes.width, attributes.height)};
        }
    }
    XFree(children);
    return found;
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
