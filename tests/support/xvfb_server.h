#pragma once
// A private virtual X server for the length of a test suite.

#include "support/child_process.h"

#include <memory>
#include <string>

namespace talwyn::platform::testing {

class XvfbServer {
public:
    // Starts Xvfb on a free display; displayName() is empty when Xvfb is
    // missing or did not come up.
    // `screen` is Xvfb's WIDTHxHEIGHTxDEPTH.
    explicit XvfbServer(const std::string& screen = "800x600x24");

    const std::string& displayName() const { return displayName_; }

private:
    std::unique_ptr<talwyn::testing::ChildProcess> server_;
    std::string displayName_;
};

} // namespace talwyn::platform::testing
