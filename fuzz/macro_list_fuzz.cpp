// The macro list file: the first byte chooses how much of the input is the
// list, the rest becomes a macro file it may name.

#include "fuzz_support.h"
#include "macros/macro_files.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talwyn;
    namespace fs = std::filesystem;
    fuzz::FuzzBytes input({data, size});
    const std::size_t listSize = static_cast<std::size_t>(input.byte()) * 4;
    const fs::path folder = fuzz::scratchFolder() / "macros";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fuzz::writeFile(folder / std::string(kMacroListFileName), input.take(listSize));
    fuzz::writeFile(folder / "a.macro", input.rest());
    MacroLibrary library;
    MacroFolder(folder).load(library);
    // The folder holds one macro file; whatever the list names, entries
    // without a readable file of their own are skipped.
    if (library.size() > 1)
        std::abort();
    return 0;
}
