#pragma once
// What a test of the running program sees on its private X server: its
// top-level windows, found by title, and patience for the program to get there.
// Include it last: Xlib's macros (None, Bool, ...) would break headers after it.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace talwyn::testing {

inline constexpr std::chrono::seconds kPatience{30};

inline bool waitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ShownWindow {
    std::string title;
    ScreenRect rect;
};

// The viewable top-level windows, in root coordinates.
inline std::vector<ShownWindow> shownWindows(Display* display) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<ShownWindow> shown;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return shown;
    }
    for (unsigned i = 0; i < count; ++i) {
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
        shown.push_back({title, {attributes.x, attributes.y, attributes.width, attributes.height}});
    }
    XFree(children);
    return shown;
}

// The viewable top-level window with this title.
inline std::optional<ScreenRect> findWindow(Display* display, const std::string& title) {
    for (const ShownWindow& window : shownWindows(display)) {
        if (window.title == title) {
            return window.rect;
        }
    }
    return std::nullopt;
}

// The address the program's in-process simulated mouse announces on its output.
inline std::optional<std::string> announcedSocket(const std::filesystem::path& output) {
    static constexpr std::string_view kAnnouncement = "Simulated mouse on ";
    const std::string text = readFile(output);
    const auto at = text.find(kAnnouncement);
    const auto end = text.find('\n', at);
    if (at == std::string::npos || end == std::string::npos) {
        return std::nullopt;
    }
    return text.substr(at + kAnnouncement.size(), end - at - kAnnouncement.size());
}

} // namespace talwyn::testing
