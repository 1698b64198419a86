#include "pages/support_dlg.h"

#include "app/device_owner.h"
#include "device/user_texts.h"
#include "pages/popup_dlg.h"
#include "pages/popup_fixture.h"
#include "sim/sim_backend.h"
#include "support/fake_platform.h"
#include "support/recording_sleeper.h"

#include <QFile>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>

namespace talwyn::pages {
namespace {

namespace fs = std::filesystem;
using controls::ModalResult;
using testing::clickControl;
using testing::findControl;
using testing::testSkins;
using testing::whenModal;

TEST(SupportRules, ConfiguredNumberIsReadLikeACNumberWithADefault) {
    const fs::path program = "/opt/talwyn";
    const std::pair<std::optional<QString>, int> cases[] = {
        {std::nullopt, 1000},
        {QStringLiteral("105"), 105},
        {QStringLiteral("  90 "), 90},
        {QStringLiteral("+107x"), 107},
        {QStringLiteral("-3"), -3},
        {QStringLiteral("abc"), 0},
        {QString(), 0},
        {QStringLiteral("99999999999"), 2147483647},
    };
    for (const auto& [value, expected] : cases) {
        platform::FakeIniReader ini;
        if (value) {
            ini.set(updaterConfigPath(program), QStringLiteral("Firmware"), QStringLiteral("Version"),
                    *value);
        }
        EXPECT_EQ(configuredFirmwareNumber(ini, program), expected)
            << value.value_or("missing").toStdString();
    }
    EXPECT_EQ(updaterConfigPath(program), program / "Talwyn PRO firmware update software" / "Config.ini");
}

TEST(SupportRules, UpdateIsDueOnlyForOldFirmwareBelowTheUpdatersOwn) {
    struct Case {
        int mouse;
        int configured;
        bool due;
    };
    const Case cases[] = {
        {100, 105, true}, {100, 100, false}, {100, 1000, true}, {101, 2000, false},
        {95, 90, false},  {95, 96, true},    {99, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firmwareUpdateDue(c.mouse, c.configured), c.due) << c.mouse << " vs " << c.configured;
    }
}

// A launcher that notes the thread each web link was opened on.
class ThreadNotingLauncher final : public platform::Launcher {
public:
    bool openAddress(const QString& address) override {
        const std::lock_guard lock(mutex);
        addresses.append(address);
        threads.push_back(QThread::currentThread());
        return false; // a refused page changes nothing either
    }
    bool startProgram(const QString& program, const QString& argument) override {
        return fake.startProgram(program, argument);
    }

    std::mutex mutex;
    QStringList addresses;
    std::vector<QThread*> threads;
    platform::FakeLauncher fake;
};

// The in-process simulated mouse with its firmware version, under a device
// link and the owner that runs the page's requests.
struct MouseRig {
    explicit MouseRig(uint16_t hidVersion) : mouse(sim::SimOptions{hidVersion}) {}
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    hid::RecordingSleeper sleeper;
    device::DeviceLink link{backend, sleeper};
    app::DeviceLibrary library{"absent"};
    app::DeviceOwner owner{link, library};

    // Lets the requests made so far run and their answers arrive.
    void settle() {
        owner.waitIdle();
        QCoreApplication::processEvents();
    }
};

struct SupportTest : ::testing::Test {
    std::unique_ptr<MouseRig> rig = std::make_unique<MouseRig>(0x0105);
    ThreadNotingLauncher launcher;
    platform::FakeIniReader ini;
    platform::FakeFolders folders{"/opt/talwyn", "/home/user/.config"};
    platform::FakeMessageBoxes messages;
    // What each start-up check told the program: go on or not.
    std::vector<bool> goOn;

    SupportServices services() { return {testSkins(), rig->owner, launcher, ini, folders, messages}; }
    void initialize(CSupportDlg& page) {
        page.initialize([this](bool on) { goOn.push_back(on); });
        rig->settle();
    }
    void clickCheckFirmware(CSupportDlg& page) {
        clickControl(page, support_id::kCheckFirmware);
        rig->settle();
    }
    void configure(const QString& version) {
        ini.set(updaterConfigPath(folders.programFolder()), QStringLiteral("Firmware"),
                QStringLiteral("Version"), version);
    }
    void setMouseVersion(uint16_t hidVersion) { rig = std::make_unique<MouseRig>(hidVersion); }
    QString updater() const {
        return QString::fromStdU16String(updaterProgramPath(folders.programFolder()).u16string());
    }
    using Started = std::vector<std::pair<QString, QString>>;
    const Started& started() const { return launcher.fake.startedPrograms; }
};

TEST_F(SupportTest, LaysOutItsButtonsAndVersionsOnItsPicture) {
    CSupportDlg page(services());
    EXPECT_EQ(page.size(), QSize(1024, 427));
    for (const auto& entry : ui_layout::layoutOf(ui_layout::WindowId::Support).controls) {
        QWidget* control = findControl<QWidget>(page, entry.id);
        ASSERT_NE(control, nullptr) << entry.id;
        EXPECT_EQ(control->geometry(),
                  QRect(entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height));
    }
    EXPECT_EQ(page.softwareVersionShown(), QStringLiteral("1.00"));
}

TEST_F(SupportTest, OldFirmwareIsOfferedTheUpdateAndOkStartsIt) {
    setMouseVersion(0x0100);
    configure(QStringLiteral("105"));
    CSupportDlg page(services());
    PopMode offered{};
    whenModal<CPopDlg>(&page, nullptr, [&](CPopDlg& offer) {
        offered = offer.mode();
        clickControl(offer, popup_id::kOk);
    });
    initialize(page);
    EXPECT_EQ(offered, PopMode::UpdateWarn);
    EXPECT_EQ(page.firmwareVersionShown(), QStringLiteral("1.00"));
    EXPECT_EQ(started(), (Started{{updater(), QStringLiteral("1")}}));
    EXPECT_EQ(goOn, std::vector<bool>{true});
}

TEST_F(SupportTest, DecliningTheOfferEndsTheProgram) {
    for (const controls::ControlId button : {popup_id::kCancel, popup_id::kClose}) {
        goOn.clear();
        setMouseVersion(0x0100);
        configure(QStringLiteral("105"));
        CSupportDlg page(services());
        whenModal<CPopDlg>(&page, nullptr, [button](CPopDlg& offer) { clickControl(offer, button); });
        initialize(page);
        EXPECT_EQ(goOn, std::vector<bool>{false});
        EXPECT_TRUE(started().empty());
    }
}

TEST_F(SupportTest, CurrentFirmwareGetsNoOfferAndCheckFirmwareSaysNotDue) {
    struct Case {
        uint16_t hidVersion;
        std::optional<QString> configured;
        const char* shown;
    };
    const Case cases[] = {
        {0x0101, QStringLiteral("2000"), "1.01"},
        {0x0105, std::nullopt, "1.05"}, // unconfigured updater: 1000
        {0x0095, QStringLiteral("90"), "0.95"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        setMouseVersion(c.hidVersion);
        ini = {};
        launcher.fake.startedPrograms.clear();
        if (c.configured) {
            configure(*c.configured);
        }
        CSupportDlg page(services());
        bool offered = false;
        whenModal<CPopDlg>(&page, nullptr, [&offered](CPopDlg& offer) {
            offered = true;
            clickControl(offer, popup_id::kOk);
        });
        initialize(page);
        EXPECT_FALSE(offered);
        EXPECT_EQ(page.firmwareVersionShown(), QString::fromLatin1(c.shown));
        EXPECT_TRUE(started().empty());
        clickCheckFirmware(page);
        EXPECT_EQ(started(), (Started{{updater(), QStringLiteral("2")}}));
        EXPECT_FALSE(offered);
    }
    EXPECT_EQ(goOn, std::vector<bool>(std::size(cases), true));
}

TEST_F(SupportTest, CheckFirmwareWithDueUpdateSaysSo) {
    setMouseVersion(0x0100);
    configure(QStringLiteral("105"));
    CSupportDlg page(services());
    EXPECT_EQ(page.runFirmwareUpdater(100), 1);
    EXPECT_EQ(page.runFirmwareUpdater(105), 0);
    EXPECT_EQ(started(), (Started{{updater(), QStringLiteral("1")}, {updater(), QStringLiteral("2")}}));
}

TEST_F(SupportTest, WithoutAMouseTheVersionIsDashesAndCheckFirmwareDoesNothing) {
    rig->mouse.unplug();
    configure(QStringLiteral("105"));
    CSupportDlg page(services());
    initialize(page);
    EXPECT_EQ(page.firmwareVersionShown(), QStringLiteral("-.--"));
    clickCheckFirmware(page);
    EXPECT_TRUE(started().empty());
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(goOn, std::vector<bool>{true});
}

TEST_F(SupportTest, VersionDisplayFollowsTheMainWindow) {
    CSupportDlg page(services());
    initialize(page);
    EXPECT_EQ(page.firmwareVersionShown(), QStringLiteral("1.05"));
    page.setFirmwareVersionText(QStringLiteral("-.--"));
    EXPECT_EQ(page.firmwareVersionShown(), QStringLiteral("-.--"));
    page.setFirmwareVersionText(QString::fromStdString(device::firmwareVersionText(107)));
    EXPECT_EQ(page.firmwareVersionShown(), QStringLiteral("1.07"));
}

TEST_F(SupportTest, AnswerAfterThePageIsGoneIsDropped) {
    setMouseVersion(0x0100);
    configure(QStringLiteral("105"));
    {
        CSupportDlg page(services());
        page.initialize([this](bool on) { goOn.push_back(on); });
    }
    rig->settle();
    EXPECT_TRUE(goOn.empty());
    EXPECT_TRUE(started().empty());
}

TEST_F(SupportTest, WebLinksOpenEachOnItsOwnWorker) {
    const SupportAddresses addresses = SupportAddresses::maker();
    CSupportDlg page(services());
    QSignalSpy ended(&page.linkWorkers(), &LinkWorkers::finished);
    clickControl(page, support_id::kOnlineSupport);
    clickControl(page, support_id::kCheckUpdates);
    clickControl(page, support_id::kFaq);
    QTRY_COMPARE(ended.count(), 3);
    EXPECT_EQ(page.pendingLinks(), 0u);
    const std::lock_guard lock(launcher.mutex);
    QStringList opened = launcher.addresses;
    opened.sort();
    QStringList expected{addresses.onlineSupport, addresses.checkUpdates, addresses.faq};
    expected.sort();
    EXPECT_EQ(opened, expected);
    for (QThread* thread : launcher.threads) {
        EXPECT_NE(thread, QThread::currentThread());
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SupportTest, PageGoneWhileALinkOpensWaitsForItsWorker) {
    {
        CSupportDlg page(services());
        page.openInBrowser(QStringLiteral("https://example.invalid/a"));
    }
    const std::lock_guard lock(launcher.mutex);
    EXPECT_EQ(launcher.addresses, QStringList{QStringLiteral("https://example.invalid/a")});
}

TEST_F(SupportTest, EscapeDoesNotHideThePage) {
    CSupportDlg page(services());
    page.show();
    QTest::keyClick(&page, Qt::Key_Escape);
    EXPECT_TRUE(page.isVisible());
}

TEST_F(SupportTest, RendersItsPictureWithBothVersions) {
    CSupportDlg page(services());
    initialize(page);
    const QImage image = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto folder = fs::path(TALWYN_TEST_TMP) / "renders";
    fs::create_directories(folder);
    EXPECT_TRUE(image.save(QString::fromStdString((folder / "Support.png").string())));
    const QImage sheet =
        testSkins().background(ui_layout::WindowId::Support).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), sheet.size());
    for (const controls::ControlId id : {support_id::kOnlineSupport, support_id::kCheckFirmware}) {
        const QRect rect = findControl(page, id)->geometry();
        EXPECT_EQ(image.copy(rect), sheet.copy(rect)) << id;
    }
    for (const controls::ControlId id : {support_id::kSoftVersion, support_id::kFirmVersion}) {
        const QRect rect = findControl<controls::CVexStatic>(page, id)->geometry();
        EXPECT_NE(image.copy(rect), sheet.copy(rect)) << id;
    }
}

// The real INI reader and launcher against files in a scratch program folder.
struct SupportFilesTest : SupportTest {
    fs::path program;
    platform::FileIniReader fileIni;
    platform::DesktopLauncher desktop;
    platform::FakeFolders scratchFolders{"", ""};

    void SetUp() override {
        program = fs::path(TALWYN_TEST_TMP) / "support" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(program);
        fs::create_directories(updaterConfigPath(program).parent_path());
        scratchFolders = platform::FakeFolders(program, program);
    }
    SupportServices fileServices() {
        return {testSkins(), rig->owner, desktop, fileIni, scratchFolders, messages};
    }
    void write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
};

TEST_F(SupportFilesTest, UpdaterStartsWithItsOneArgument) {
    write(updaterConfigPath(program), "[Firmware]\r\nVersion=105\r\n");
    const fs::path marker = program / "argument.txt";
    const fs::path updaterPath = updaterProgramPath(program);
    write(updaterPath, "#!/bin/sh\nprintf '%s' \"$*\" > '" + marker.string() + "'\n");
    fs::permissions(updaterPath, fs::perms::owner_exec, fs::perm_options::add);

    CSupportDlg page(fileServices());
    EXPECT_EQ(page.runFirmwareUpdater(100), 1);
    QTRY_VERIFY(fs::exists(marker) && fs::file_size(marker) > 0);
    std::ifstream in(marker);
    std::string argument;
    std::getline(in, argument);
    EXPECT_EQ(argument, "1");
}

TEST_F(SupportFilesTest, MissingUpdaterAndConfigurationChangeNothing) {
    setMouseVersion(0x0105);
    CSupportDlg page(fileServices());
    initialize(page); // 105 is current whatever the missing configuration says
    EXPECT_EQ(page.firmwareVersionShown(), QStringLiteral("1.05"));
    clickCheckFirmware(page);
    EXPECT_EQ(page.offerFirmwareUpdate(105), FirmwareOffer::NotDue);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(goOn, std::vector<bool>{true});
    EXPECT_TRUE(page.isEnabled());
}

} // namespace
} // namespace talwyn::pages
