#include "app/screenshots.h"

#include "app/main_window.h"
#include "pages/color_settings_dlg.h"
#include "pages/rename_dlg.h"

#include <QImage>
#include <QWidget>

#include <algorithm>
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

// The lighting page in each mode, and its preview at a few ticks of each
// effect and of the colour cycle.
bool saveLightingPictures(CTOLMDlg& window, const std::filesystem::path& folder, QStringList& written) {
    auto* page = window.findChild<pages::CColorSettingsDlg*>();
    if (page == nullptr) {
        return true;
    }
    // The preview animates only while it is shown; shown off the screen, nobody sees it flash.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    window.executeCommand(main_command::kFirstPage + 2);
    const ProfileData current = window.profiles().current();
    const auto show = [&](int32_t zones, int32_t effect) {
        ProfileData profile = current;
        profile.lightZones = zones;
        profile.lightEffect = effect;
        profile.lightBrightness = 5;
        profile.lightColors[0] = 0xA5EB32;
        profile.lightColors[3] = 0x0080FF;
        page->loadFromProfile(profile);
    };
    struct ModePicture {
        const char* name;
        int32_t zones;
        int32_t effect;
    };
    constexpr ModePicture kModes[] = {{"none", 0x00, 0x01},
                                      {"per-zone", 0x29, 0x01},
                                      {"solid-color", 0x0F, 0x01},
                                      {"color-shift", 0x19, 0x11}};
    bool saved = true;
    for (const ModePicture& mode : kModes) {
        show(mode.zones, mode.effect);
        saved = saved &&
                save(window, folder / (std::string("main-color-settings-") + mode.name + ".png"), written);
    }
    controls::CVexMouseStatic& preview = page->preview();
    struct EffectPictures {
        const char* name;
        int32_t effect;
        std::array<int, 3> ticks;
    };
    constexpr EffectPictures kEffects[] = {
        {"blinking", 0x02, {1, 2, 3}}, {"pulsating", 0x03, {1, 3, 4}}, {"breathing", 0x04, {10, 30, 60}}};
    for (const EffectPictures& effect : kEffects) {
        show(0x0F, effect.effect);
        for (int tick = 1; tick <= effect.ticks.back(); ++tick) {
            preview.effectTick();
            if (std::find(effect.ticks.begin(), effect.ticks.end(), tick) != effect.ticks.end()) {
                const std::string name =
                    std::string("preview-") + effect.name + "-" + std::to_string(tick) + ".png";
                saved = saved && save(preview, folder / name, written);
            }
        }
    }
    show(0x19, 0x11);
    for (int tick = 1; tick <= 30; ++tick) {
        preview.colorCycleTick();
        if (tick % 10 == 0) {
            saved = saved &&
                    save(preview, folder / ("preview-color-shift-" + std::to_string(tick) + ".png"), written);
        }
    }
    ProfileData restored = current;
    page->loadFromProfile(restored);
    window.hide();
    window.setAttribute(Qt::WA_DontShowOnScreen, false);
    return saved;
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
    if (!saveLightingPictures(window, folder, written)) {
        return {};
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
