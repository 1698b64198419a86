#pragma once
// Finding the running program's top-level windows on a test's X server and
// reading back what they show, by title or by size.

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Last: Xlib's macros (None, Bool, ...) would break headers included after it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace talwyn::platform::testing {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The first viewable top-level window whose title and root-relative
// rectangle satisfy `wanted`.
inline std::optional<ScreenRect>
findWindowWhere(Display* display,
                const std::function<bool(const std::string& title, const ScreenRect&)>& wanted) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<ScreenRect> found;
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
        const ScreenRect rect{attributes.x, attributes.y, attributes.width, attributes.height};
        if (wanted(title, rect)) {
            found = rect;
        }
    }
    XFree(children);
    return found;
}

// The top-level window with this title, in root coordinates, once it is viewable.
inline std::optional<ScreenRect> findWindow(Display* display, const std::string& title) {
    return findWindowWhere(display,
                           [&](const std::string& name, const ScreenRect&) { return name == title; });
}

// The pixels of a screen rectangle, row by row.
inline std::vector<unsigned long> capturePixels(Display* display, const ScreenRect& rect) {
    std::vector<unsigned long> pixels;
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), rect.x, rect.y, static_cast<unsigned>(rect.width),
                  static_cast<unsigned>(rect.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            pixels.push_back(XGetPixel(image, x, y));
        }
    }
    XDestroyImage(image);
    return pixels;
}

} // namespace talwyn::platform::testing
