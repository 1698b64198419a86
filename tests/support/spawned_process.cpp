#include "support/spawned_process.h"

namespace talwyn::platform::testing {

SpawnedProcess::SpawnedProcess(const std::vector<std::string>& argv, const std::string& display)
    : process_({argv, talwyn::testing::environmentWith({"DISPLAY=" + display}), "/dev/null", "/dev/null"}) {}

} // namespace talwyn::platform::testing
