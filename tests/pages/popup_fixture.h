#pragma once
// Shared pieces of the pop-up and support page tests: the generated skin
// set, finding controls by ID, clicking them, and acting inside a nested
// modal run.

#include "skins/skin_store.h"
#include "controls/buttons.h"
#include "controls/framework.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace talwyn::pages::testing {

inline std::filesystem::path skinFolder() {
    return std::filesystem::path(TALWYN_BIN_DIR) / "Talwyn_PRO_Skins";
}

// The skin store over the generated set; a failed request fails the test.
inline skins::SkinStore& testSkins() {
    static skins::SkinStore store(skinFolder(),
                                {[](const QString& message) { ADD_FAILURE() << message.toStdString(); },
                                 [](int) { ADD_FAILURE() << "skin failure asked to quit"; }});
    return store;
}

template <typename Control = controls::CVexButton>
Control* findControl(QWidget& window, controls::ControlId id) {
    for (auto* control : window.findChildren<Control*>()) {
        const auto* identity = dynamic_cast<const controls::ControlIdentity*>(control);
        if (identity != nullptr && identity->controlId() == id) {
            return control;
        }
    }
    return nullptr;
}

// A real press and release in the middle of the control.
inline void clickControl(QWidget& window, controls::ControlId id) {
    auto* control = findControl(window, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    QTest::mouseClick(control, Qt::LeftButton);
}

// Runs `action` once a modal dialog of type T other than `outer` is active,
// i.e. from inside its modal loop. The watch stops after the first match.
template <typename T> void whenModal(QObject* context, const QWidget* outer, std::function<void(T&)> action) {
    auto* watch = new QTimer(context);
    watch->setInterval(5);
    QObject::connect(watch, &QTimer::timeout, context, [watch, outer, action] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == outer || !dialog->isVisible()) {
            return;
        }
        watch->stop();
        watch->deleteLater();
        action(*dialog);
    });
    watch->start();
}

} // namespace talwyn::pages::testing
