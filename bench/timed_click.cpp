// Clicks the first mouse button where the pointer is, as a person does (press,
// a short hold, release), and prints the moment of the release in
// microseconds of the monotonic clock: the start of what bench/apply-overhead
// times against the simulated mouse's stamped wire log. It then stays idle
// for the given seconds, so that neither its exit nor the script that waits
// for it takes the CPU from what is being measured.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

} // namespace

int main(int argc, char** argv) {
    const int lingerSeconds = argc > 1 ? std::atoi(argv[1]) : 0;
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::cerr << "timed_click: cannot open the display\n";
        return 1;
    }
    XTestFakeButtonEvent(display.get(), 1, True, CurrentTime);
    XSync(display.get(), False);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const auto released = std::chrono::steady_clock::now();
    XTestFakeButtonEvent(display.get(), 1, False, CurrentTime);
    XSync(display.get(), False);
    using std::chrono::duration_cast, std::chrono::microseconds;
    std::cout << duration_cast<microseconds>(released.time_since_epoch()).count() << std::endl;
    std::this_thread::sleep_for(std::chrono::seconds(lingerSeconds));
    return 0;
}
