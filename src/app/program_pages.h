#pragma once
// The program's real pages, made for the main window, and what they need.

#include "app/page_set.h"
#include "pages/popup_dlg.h"

#include <filesystem>

namespace talwyn::platform {
class Folders;
class IniReader;
class Launcher;
class PointerSettings;
} // namespace talwyn::platform

namespace talwyn::app {

struct ProgramPageServices {
    pages::PopupServices popups; // skins, message boxes, key capture, device access
    platform::Launcher& launcher;
    platform::IniReader& ini;
    platform::Folders& folders;
    platform::PointerSettings& pointerSettings;
    // Where the macro library lives.
    std::filesystem::path macroFolder;
};

// Makes the five pages. Every service must outlive the pages.
PageFactory programPages(ProgramPageServices services);

} // namespace talwyn::app
