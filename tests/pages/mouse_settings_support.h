#pragma once
// What the page tests share: one application object, the built skin set and
// a way to pick a menu item as the menu itself would report it.

#include "app/skin_store.h"
#include "controls/combo_button.h"
#include "ui_layout/skin_files.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
inline app::SkinStore& testSkins() {
    application();
    static app::SkinStore store(
        std::filesystem::path(TALWYN_BIN_DIR) / std::string(ui_layout::kSkinFolderName),
        {[](const QString& message) { ADD_FAILURE() << message.toStdString(); }, [](int) {}});
    return store;
}

// The path a pick takes: the menu tells its owner button, which tells the page.
inline void pick(controls::CVexComboButton& button, int32_t code) {
    button.onCommand(button.menu()->controlId(), code);
}

} // namespace talwyn::pages::testing
