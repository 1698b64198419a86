#pragma once
// How the process hands memory back to the system.

namespace talwyn::platform {

// Large blocks (decoded skin sheets, device images) are mapped separately, so
// freeing them returns their pages to the system instead of leaving them in
// the heap: the program sheds the skin set once its windows are built.
void returnLargeBlocksOnFree();

} // namespace talwyn::platform
