// One macro file: any bytes give Ok or a clear status, never a partial macro.

#include "fuzz_support.h"
#include "macros/macro_files.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talwyn;
    const auto file = fuzz::scratchFolder() / "input.macro";
    fuzz::writeFile(file, {data, size});
    CMacro macro;
    const CMacro before = macro;
    if (readMacroFile(macro, file) != MacroFileStatus::Ok && !(macro == before))
        std::abort();
    return 0;
}
