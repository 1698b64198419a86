#include "support/x_windows.h"

#include "support/x11_windows.h"

namespace talwyn::platform::testing {

std::optional<QRect> findTopWindow(const std::string& displayName,
                                   const std::function<bool(const std::string& title, QSize size)>& matches) {
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return std::nullopt;
    }
    const auto found = findWindowWhere(display, [&](const std::string& title, const ScreenRect& rect) {
        return matches(title, QSize(rect.width, rect.height));
    });
    XCloseDisplay(display);
    return found ? std::optional(QRect(found->x, found->y, found->width, found->height)) : std::nullopt;
}

int countTopWindows(const std::string& displayName,
                    const std::function<bool(const std::string& title, QSize size)>& matches) {
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return -1;
    }
    int count = 0;
    // A search that never finds visits every window.
    findWindowWhere(display, [&](const std::string& title, const ScreenRect& rect) {
        count += matches(title, QSize(rect.width, rect.height)) ? 1 : 0;
        return false;
    });
    XCloseDisplay(display);
    return count;
}

QImage grabWindow(const std::string& displayName, const std::string& title) {
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return {};
    }
    QImage image;
    const auto found = findWindow(display, title);
    // From the window itself: a rootless X server keeps no root picture.
    XImage* shot = found ? XGetImage(display, found->window, 0, 0, static_cast<unsigned>(found->width),
                                     static_cast<unsigned>(found->height), AllPlanes, ZPixmap)
                         : nullptr;
    if (shot != nullptr) {
        image = QImage(found->width, found->height, QImage::Format_RGB32);
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
