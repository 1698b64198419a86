#pragma once
// The program's real pages, made for the main window, and what they need.

#include "app/page_set.h"
#include "pages/popup_dlg.h"

#include <filesystem>
#include <functional>

namespace talwyn::platform {
class Folders;
class IniReader;
class Launcher;
class PointerSettings;
} // namespace talwyn::platform

namespace talwyn::app {

struct ProgramPageServices {
    pages::PopupServices popups; // skins, message boxes, key capture, device link
    platform::Launcher& launcher;
    platform::IniReader& ini;
    platform::Folders& folders;
    platform::PointerSettings& pointerSettings;
    // Where the macro library lives.
    std::filesystem::path macroFolder;
    // Ends the program's event loop (the declined firmware offer).
    std::function<void(int)> postQuit;
};

// Makes the five pages; the support page runs its set-up (and with it the
// firmware update offer) as it is made. Every service must outlive the pages.
PageFactory programPages(ProgramPageServices services);

} // namespace talwyn::app
