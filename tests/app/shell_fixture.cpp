#include "shell_fixture.h"

#include <QCoreApplication>

namespace talwyn::app::testing {

namespace fs = std::filesystem;

fs::path freshTestFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(TALWYN_TEST_TMP) / "app" / info->test_suite_name() / info->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    // Slot files and macros live below the user's data folder.
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((folder / "data").string()));
    return folder;
}

ShellTest::ShellTest(sim::SimOptions options, std::optional<std::filesystem::path> library)
    : mouse_(options),
      skins_(fs::path(TALWYN_BIN_DIR) / "Talwyn_PRO_Skins",
             skins::SkinFailureHandler{[this](const QString& text) { skinFailures_ << text; }, [](int) {}}),
      library_(library.value_or(folder_ / "missing" / std::string(deviceLibraryFileName()))) {}

ShellTest::~ShellTest() {
    window_.reset();
    mouse_.shutdown();
}

MainWindowServices ShellTest::services(platform::DeviceNotifier& notifier, std::function<void(int)> quit) {
    const auto makePages = [this](QWidget* parent) {
        PageSet set;
        buttonPage_ = new FakeButtonPage(parent);
        sensorPage_ = new pages::CSensorDlg(parent, skins_, analysis_);
        macroPage_ = new pages::CMacroSettingsDlg(parent, {skins_, messages_, nullptr, macroPopups_},
                                                  folder_ / "macros");
        supportPage_ = new FakeSupportPage(parent);
        set.button = buttonPage_;
        set.sensor = sensorPage_;
        lightingPage_ = new pages::CColorSettingsDlg(parent, skins_);
        set.lighting = lightingPage_;
        set.macro = macroPage_;
        set.support = supportPage_;
        return set;
    };
    return {skins_, messages_, tray_, notifier, device_, library_, dialogs_, makePages, std::move(quit)};
}

void ShellTest::start() {
    window_ = std::make_unique<CTOLMDlg>(services(notifier_, [this](int code) { quitCode_ = code; }));
    window_->OnInitDialog();
    settle();
}

std::vector<std::string> ShellTest::sentReports() const {
    std::vector<std::string> reports;
    const std::string prefix = "set_feature ";
    for (const std::string& line : mouse_.wireLog()) {
        if (line.starts_with(prefix)) {
            reports.push_back(line.substr(line.find(' ', prefix.size()) + 1));
        }
    }
    return reports;
}

} // namespace talwyn::app::testing
