#pragma once
// A private headless Wayland compositor (weston) with XWayland, for the
// length of a test.

#include "support/child_process.h"

#include <filesystem>
#include <memory>
#include <string>

namespace talwyn::platform::testing {

class WestonServer {
public:
    // Starts weston with its runtime files in `folder`. waylandDisplay() is
    // empty when weston is missing or did not come up; xDisplay() is empty
    // when it came up without XWayland.
    explicit WestonServer(const std::filesystem::path& folder);
    WestonServer(const WestonServer&) = delete;
    WestonServer& operator=(const WestonServer&) = delete;

    const std::string& waylandDisplay() const { return waylandDisplay_; }
    const std::string& xDisplay() const { return xDisplay_; }
    // The folder to hand clients as XDG_RUNTIME_DIR.
    std::filesystem::path runtimeFolder() const { return folder_ / "run"; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<talwyn::testing::ChildProcess> weston_; // ends weston and its XWayland with the test
    std::string waylandDisplay_;
    std::string xDisplay_;
};

} // namespace talwyn::platform::testing
