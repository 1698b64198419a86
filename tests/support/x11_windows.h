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
    Window window = 0; // the window found there, where one was
};

namespace detail {

// Windows come and go while a test looks at them; a request about one that
// has just gone fails with BadWindow or BadDrawable, which Xlib's default
// handler answers by ending the process. While one of these lives, such
// errors only make the request fail; others go to the previous handler.
class VanishedWindowsTolerated {
public:
    VanishedWindowsTolerated() : previous_(XSetErrorHandler(&handle)) {
        if (previous_ != &handle) { // a nested guard must not hand errors back to itself
            previousHandler() = previous_;
        }
    }
    ~VanishedWindowsTolerated() { XSetErrorHandler(previous_); }
    VanishedWindowsTolerated(const VanishedWindowsTolerated&) = delete;
    VanishedWindowsTolerated& operator=(const VanishedWindowsTolerated&) = delete;

private:
    static XErrorHandler& previousHandler() {
        static XErrorHandler handler = nullptr;
        return handler;
    }
    static int handle(Display* display, XErrorEvent* error) {
        if (error->error_code == BadWindow || error->error_code == BadDrawable) {
            return 0;
        }
        return previousHandler() != nullptr ? previousHandler()(display, error) : 0;
    }

    XErrorHandler previous_;
};

inline std::vector<Window> childrenOf(Display* display, Window window) {
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

inline std::string titleOf(Display* display, Window window) {
    std::string title;
    XTextProperty name{};
    if (XGetWMName(display, window, &name) != 0 && name.value != nullptr) {
        title.assign(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
    }
    return title;
}

// `window` in root coordinates when it is viewable.
inline std::optional<ScreenRect> viewableRect(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable) {
        return std::nullopt;
    }
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return ScreenRect{x, y, attributes.width, attributes.height, window};
}

} // namespace detail

// The first viewable top-level window whose title and root-relative
// rectangle satisfy `wanted`; where a window manager framed the program's
// windows, the windows inside the frames count as top-level.
inline std::optional<ScreenRect>
findWindowWhere(Display* display,
                const std::function<bool(const std::string& title, const ScreenRect&)>& wanted) {
    const detail::VanishedWindowsTolerated tolerated;
    const auto matches = [&](Window window) -> std::optional<ScreenRect> {
        const auto rect = detail::viewableRect(display, window);
        if (rect && wanted(detail::titleOf(display, window), *rect)) {
            return rect;
        }
        return std::nullopt;
    };
    for (const Window top : detail::childrenOf(display, DefaultRootWindow(display))) {
        if (auto found = matches(top)) {
            return found;
        }
        for (const Window framed : detail::childrenOf(display, top)) {
            if (auto found = matches(framed)) {
                return found;
            }
        }
    }
    return std::nullopt;
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
