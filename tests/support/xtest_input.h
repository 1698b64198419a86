#pragma once
// Synthetic keyboard and pointer input through XTest, as a user would type
// and click on the display.

#include <cstdint>
#include <string>

struct _XDisplay;

namespace talwyn::platform::testing {

class XTestInput {
public:
    explicit XTestInput(const std::string& displayName);
    ~XTestInput();
    XTestInput(const XTestInput&) = delete;
    XTestInput& operator=(const XTestInput&) = delete;

    bool connected() const { return display_ != nullptr; }
    // The keycode the display gives the key with this keysym.
    int keycodeFor(uint32_t keysym) const;
    void key(uint32_t keysym, bool press);
    void tap(uint32_t keysym);
    void movePointer(int x, int y);
    void button(int button, bool press);

private:
    _XDisplay* display_;
};

} // namespace talwyn::platform::testing
