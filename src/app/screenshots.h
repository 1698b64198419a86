#pragma once
// --screenshot DIR: the main window with each page, and each pop-up, as PNG
// files, without showing anything on screen.

#include "pages/popup_dlg.h"

#include <QStringList>

#include <filesystem>

namespace talwyn::app {

class CTOLMDlg;

// Renders every picture into `folder` (created when missing); the files
// written, or an empty list when the folder cannot be written.
QStringList renderScreenshots(CTOLMDlg& window, const pages::PopupServices& popups,
                              const std::filesystem::path& folder);

} // namespace talwyn::app
