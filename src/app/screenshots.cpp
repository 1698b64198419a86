#include "app/screenshots.h"

#include "app/main_window.h"
#include "pages/rename_dlg.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <system_error>

namespace talwyn::app {

namespace {

constexpr std::array<const char*, 5> kPageNames = {"mouse-settings", "sensor-performance", "color-settings",
                                                   "macro-settings", "support"};

const char* popupName(pages::PopMode mode) {
    switch (mode) {
    case pages::PopMode::LeftClickWarn:
        return "LeftClickWarn";
    case pages::PopMode::DeleteMacro:
        return "DeleteMacro";
    case pages::PopMode::SensorSqat1:
        return "SensorSQAT1";
    case pages::PopMode::SensorSqat2:
        return "SensorSQAT2";
    case pages::PopMode::SensorSqat3:
        return "SensorSQAT3";
    case pages::PopMode::ResetWarn:
        return "ResetWarn";
    case pages::PopMode::UpdateWarn:
        return "UpdateWarn";
    case pages::PopMode::AssignKey:
        return "AssignKey";
    }
    return "popup";
}

bool save(QWidget& widget, const std::filesystem::path& file, QStringList& written) {
    widget.ensurePolished();
    const QString name = QString::fromStdString(file.string());
    if (!widget.grab().save(name, "PNG")) {
        return false;
    }
    written << name;
    return true;
}

} // namespace

QStringList renderScreenshots(CTOLMDlg& window, const pages::PopupServices& popups,
                              const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    QStringList written;
    for (size_t page = 0; page < kPageNames.size(); ++page) {
        window.executeCommand(main_command::kFirstPage + static_cast<int>(page));
        if (!save(window, folder / (std::string("main-") + kPageNames[page] + ".png"), written)) {
            return {};
        }
    }
    window.executeCommand(main_command::kFirstPage);
    for (pages::PopMode mode : pages::kAllPopModes) {
        pages::CPopDlg popup(mode, popups, &window);
        if (!save(popup, folder / (std::string("popup-") + popupName(mode) + ".png"), written)) {
            return {};
        }
    }
    pages::CRenameDlg rename(1, window.profiles(), *window.commandButton(main_command::kFirstSlot),
                             popups.skins, &window);
    if (!save(rename, folder / "popup-Rename.png", written)) {
        return {};
    }
    return written;
}

} // namespace talwyn::app
