#pragma once
// What the page tests share: one application object, the built skin set and
// a way to pick a menu item as the menu itself would report it.

#include "skins/skin_store.h"
#include "controls/combo_button.h"
#include "ui_layout/control_table.h"
#include "ui_layout/skin_files.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace talwyn::pages::testing {

// Created on first use and left to the end of the process: destroying it
// among the other statics would free input devices the test helpers still own.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "pages_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The skin set the build drew; a failed request fails the test that made it.
inline skins::SkinStore& testSkins() {
    application();
    static skins::SkinStore store(
        std::filesystem::path(TALWYN_BIN_DIR) / std::string(ui_layout::kSkinFolderName),
        {[](const QString& message) { ADD_FAILURE() << message.toStdString(); }, [](int) {}});
    return store;
}

// The path a pick takes: the menu tells its owner button, which tells the page.
inline void pick(controls::CVexComboButton& button, int32_t code) {
    button.onCommand(button.menu()->controlId(), code);
}

} // namespace talwyn::pages::testing

namespace talwyn::pages::testing {

// Every control of the window's table sits visible at its table rectangle;
// returns the IDs of those that do not.
inline std::vector<int> misplacedControls(const QWidget& page, ui_layout::WindowId window) {
    std::vector<int> missing;
    for (const ui_layout::ControlEntry& entry : ui_layout::layoutOf(window).controls) {
        const QRect expected(entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height);
        const auto children = page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        const bool placed = std::any_of(children.begin(), children.end(), [&](const QWidget* child) {
            return child->geometry() == expected && child->isVisibleTo(&page);
        });
        if (!placed) {
            missing.push_back(entry.id);
        }
    }
    return missing;
}

// Keeps a picture of the page for review beside the other test outputs.
inline bool savePagePicture(QWidget& page, const char* fileName) {
    const std::filesystem::path folder(TALWYN_TEST_TMP);
    std::filesystem::create_directories(folder);
    return page.grab().save(QString::fromStdString((folder / fileName).string()));
}

} // namespace talwyn::pages::testing
