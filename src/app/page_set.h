#pragma once
// The five pages the main window hosts, made by whoever builds the window:
// the program makes its real pages, tests make stand-ins.

#include "pages/page.h"

#include <array>
#include <functional>

class QWidget;

namespace talwyn::app {

// Non-owning: the pages are child windows of the main window, which owns them.
struct PageSet {
    pages::ButtonPage* button = nullptr;
    pages::SensorPage* sensor = nullptr;
    pages::LightingPage* lighting = nullptr;
    pages::MacroPage* macro = nullptr;
    pages::SupportPage* support = nullptr;

    // In page-button order: button, sensor, lighting, macro, support.
    std::array<pages::Page*, 5> all() const { return {button, sensor, lighting, macro, support}; }
    // The pages whose values belong to a profile.
    std::array<pages::ProfilePage*, 3> profilePages() const { return {button, sensor, lighting}; }

    // The profile pages' values go into `profile`.
    void storeInto(ProfileData& profile) const {
        for (pages::ProfilePage* page : profilePages()) {
            page->saveToProfile(profile);
        }
    }
    // The profile pages show `profile`.
    void loadFrom(ProfileData& profile) const {
        for (pages::ProfilePage* page : profilePages()) {
            page->loadFromProfile(profile);
        }
    }
};

// Makes the pages as children of `parent`.
using PageFactory = std::function<PageSet(QWidget* parent)>;

} // namespace talwyn::app
