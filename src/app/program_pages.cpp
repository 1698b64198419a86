#include "app/program_pages.h"

#include "pages/color_settings_dlg.h"
#include "pages/macro_page_popups.h"
#include "pages/macro_settings_dlg.h"
#include "pages/mouse_settings_dlg.h"
#include "pages/mouse_settings_popups.h"
#include "pages/sensor_surface_analysis.h"
#include "pages/support_dlg.h"
#include "skins/skin_store.h"

#include <QObject>

namespace talwyn::app {

namespace {

// The page operations of the button page, over the page itself. Owned by the page.
class ButtonPageAdapter final : public QObject, public pages::ButtonPage {
public:
    explicit ButtonPageAdapter(pages::CMouseSettingsDlg& page) : QObject(&page), page_(page) {}

    QWidget& window() override { return page_; }
    void saveToProfile(ProfileData& profile) override { page_.saveToProfile(profile); }
    void loadFromProfile(ProfileData& profile) override { page_.loadFromProfile(profile); }
    void applyPointerSettings(const ProfileData& profile) override { page_.applyPointerSettings(profile); }
    void refreshMacroMenus() override { page_.refreshMacroMenus(); }

private:
    pages::CMouseSettingsDlg& page_;
};

class SupportPageAdapter final : public QObject, public pages::SupportPage {
public:
    explicit SupportPageAdapter(pages::CSupportDlg& page) : QObject(&page), page_(page) {}

    QWidget& window() override { return page_; }
    void setFirmwareVersionText(const QString& text) override { page_.setFirmwareVersionText(text); }
    QString firmwareVersionText() const override { return page_.firmwareVersionShown(); }
    void checkFirmwareAtStartUp(std::function<void(bool goOn)> done) override {
        page_.initialize(std::move(done));
    }

private:
    pages::CSupportDlg& page_;
};

// Services of the pages that are not windows, owned by the main window.
template <typename Service> class OwnedService final : public QObject {
public:
    OwnedService(const pages::PopupServices& services, QObject* owner) : QObject(owner), service(services) {}
    Service service;
};

} // namespace

PageFactory programPages(ProgramPageServices services) {
    return [services](QWidget* parent) {
        skins::SkinStore& skins = services.popups.skins;
        PageSet set;
        auto* macroPopups = new OwnedService<pages::PopDlgMacroPagePopups>(services.popups, parent);
        auto* macro = new pages::CMacroSettingsDlg(
            parent, {skins, services.popups.messages, services.popups.keyCapture, macroPopups->service},
            services.macroFolder);
        set.macro = macro;

        auto* popups = new OwnedService<pages::PopDlgMouseSettingsPopups>(services.popups, parent);
        auto* button = new pages::CMouseSettingsDlg(parent, skins, macro->macroLibrary(), popups->service,
                                                    services.pointerSettings);
        set.button = new ButtonPageAdapter(*button);

        auto* analysis = new OwnedService<pages::PopDlgSurfaceAnalysis>(services.popups, parent);
        set.sensor = new pages::CSensorDlg(parent, skins, analysis->service);
        set.lighting = new pages::CColorSettingsDlg(parent, skins);

        pages::SupportServices support{skins,        *services.popups.device, services.launcher,
                                       services.ini, services.folders,        services.popups.messages};
        auto* supportPage = new pages::CSupportDlg(std::move(support), parent);
        set.support = new SupportPageAdapter(*supportPage);
        return set;
    };
}

} // namespace talwyn::app
