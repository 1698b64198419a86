#pragma once
// A private virtual X server for the length of a test suite.

#include <string>
#include <sys/types.h>

namespace talwyn::platform::testing {

class XvfbServer {
public:
    // Starts Xvfb on a free display; displayName() is empty when Xvfb is
    // missing or did not come up.
    // `screen` is Xvfb's WIDTHxHEIGHTxDEPTH.
    explicit XvfbServer(const std::string& screen = "800x600x24");
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& displayName() const { return displayName_; }

private:
    pid_t pid_ = -1;
    std::string displayName_;
};

} // namespace talwyn::platform::testing
