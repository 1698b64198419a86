// The updater's run against the device library it ships with and the
// simulated mouse: the update itself, a failed transfer and the recovery of
// the mouse it leaves in bootloader mode, a refused image, and the window's
// keyboard and closing rules.

#include "updater/update_session.h"
#include "updater/updater_window.h"

#include "package_fixture.h"
#include "sim/sim_mouse.h"
#include "sim/sim_server.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>

namespace talwyn::updater {
namespace {

using Phase = UpdateSession::Phase;

// Generous: the library paces the update with its own pauses and searches.
constexpr int kUpdateWaitMs = 60000;

class UpdaterSessionTest : public ::testing::Test {
protected:
    explicit UpdaterSessionTest(uint16_t firmware = 0x0100) : mouse_({firmware, 0x0100, true}) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server_.start(socket_, &error)) << error;
        hidSelection_.emplace("TALWYN_HID", ("sim:" + socket_.string()).c_str());
        ASSERT_TRUE(device_.load(&loadError_)) << loadError_.toStdString();
        testing::writePackage(folder_.path(), testing::demoImage());
    }

    std::unique_ptr<UpdateSession> started(Offer offer = Offer::UpdateDue) {
        auto session = std::make_unique<UpdateSession>(device_, ini_, folder_.path(), offer);
        session->start();
        waitUntilSettled(*session);
        return session;
    }
    static bool waitUntilSettled(const UpdateSession& session) {
        return QTest::qWaitFor(
            [&] { return session.phase() != Phase::Checking && session.phase() != Phase::Updating; },
            kUpdateWaitMs);
    }
    // Whether the host sent the bootloader entry command (A1 3A, access code 00 6E 91 27).
    bool bootloaderEntrySent() const {
        const auto log = mouse_.wireLog();
        return std::any_of(log.begin(), log.end(), [](const std::string& line) {
            return line.starts_with("set_feature ") && line.find(" a13a0000006e9127") != std::string::npos;
        });
    }

    testing::ScratchFolder folder_{"updater"};
    // Socket paths are short; the test's own folder name is not.
    const std::filesystem::path socket_ =
        std::filesystem::path(TALWYN_TEST_TMP) / ("updater-" + std::to_string(::getpid()) + ".sock");
    sim::SimMouse mouse_;
    sim::SimServer server_{mouse_};
    std::optional<testing::ScopedEnv> hidSelection_;
    LibraryFirmwareDevice device_{std::filesystem::path(TALWYN_BIN_DIR) / "Talwyn_pro_dll.so"};
    QString loadError_;
    platform::FileIniReader ini_;
};

TEST_F(UpdaterSessionTest, UpdatesTheMouseAndShowsTheVersionItReadsBack) {
    auto session = started(Offer::UpdateDue);
    ASSERT_EQ(session->phase(), Phase::Ready);
    EXPECT_EQ(session->installedText(), QStringLiteral("1.00"));
    EXPECT_EQ(session->offeredText(), QStringLiteral("1.06"));
    EXPECT_TRUE(session->headline().contains(QStringLiteral("update is due")));

    session->update();
    EXPECT_EQ(session->phase(), Phase::Updating);
    EXPECT_FALSE(session->canClose());
    ASSERT_TRUE(waitUntilSettled(*session));
    ASSERT_EQ(session->phase(), Phase::Succeeded) << session->detail().toStdString();
    EXPECT_EQ(session->installedText(), QStringLiteral("1.06"));
    EXPECT_EQ(session->percent(), 100);
    EXPECT_FALSE(session->canUpdate());

    const sim::FirmwareState state = mouse_.snapshot();
    EXPECT_EQ(state.mode, sim::Mode::Normal);
    EXPECT_EQ(state.firmwareVersion, 0x0106);
    EXPECT_TRUE(bootloaderEntrySent());
}

TEST_F(UpdaterSessionTest, AFailedBlockLeavesTheMouseInBootloaderModeAndTheNextStartRecoversIt) {
    // Every attempt at the second block is refused.
    mouse_.injectFirmwareFault({sim::FirmwareStep::Block, 1, 3});
    {
        auto session = started();
        session->update();
        ASSERT_TRUE(waitUntilSettled(*session));
        ASSERT_EQ(session->phase(), Phase::Failed);
        EXPECT_TRUE(session->detail().contains(QStringLiteral("Block 2 of 2 was not accepted")))
            << session->detail().toStdString();
        EXPECT_TRUE(session->canClose());
        EXPECT_TRUE(session->canUpdate());
    }
    ASSERT_EQ(mouse_.snapshot().mode, sim::Mode::Bootloader);
    mouse_.clearWireLog();

    auto next = started(Offer::NoUpdateDue);
    ASSERT_EQ(next->phase(), Phase::Recovery);
    EXPECT_EQ(next->installedText(), QStringLiteral("none (bootloader mode)"));
    next->update();
    ASSERT_TRUE(waitUntilSettled(*next));
    ASSERT_EQ(next->phase(), Phase::Succeeded) << next->detail().toStdString();
    EXPECT_EQ(next->installedText(), QStringLiteral("1.06"));
    EXPECT_EQ(mouse_.snapshot().mode, sim::Mode::Normal);
    EXPECT_EQ(mouse_.snapshot().firmwareVersion, 0x0106);
    EXPECT_FALSE(bootloaderEntrySent()) << "a mouse in bootloader mode is not asked to enter it again";
}

TEST_F(UpdaterSessionTest, AnImageSpoiledAfterStartIsRefusedWithTheMouseUntouched) {
    auto session = started(Offer::NoUpdateDue);
    ASSERT_EQ(session->phase(), Phase::Ready);
    EXPECT_TRUE(session->headline().contains(QStringLiteral("needs no firmware update")));

    std::vector<uint8_t> spoiled = testing::demoImage();
    spoiled[1500] ^= 0xFF;
    testing::writeBytes(folder_ / testing::kImageName, spoiled);
    session->update();
    EXPECT_EQ(session->phase(), Phase::ImageRejected);
    EXPECT_TRUE(session->detail().contains(QStringLiteral("SHA-256"))) << session->detail().toStdString();
    EXPECT_FALSE(session->canUpdate());
    QTest::qWait(200);
    EXPECT_FALSE(bootloaderEntrySent());
    EXPECT_EQ(mouse_.snapshot().mode, sim::Mode::Normal);
}

TEST_F(UpdaterSessionTest, WithoutAMouseUpdateLooksAgainAndTouchesNothing) {
    mouse_.unplug();
    auto session = started();
    ASSERT_EQ(session->phase(), Phase::NoMouse);
    EXPECT_EQ(session->installedText(), QStringLiteral("-.--"));
    session->update();
    ASSERT_TRUE(waitUntilSettled(*session));
    EXPECT_EQ(session->phase(), Phase::NoMouse);

    mouse_.plug();
    session->update();
    ASSERT_TRUE(waitUntilSettled(*session));
    EXPECT_EQ(session->phase(), Phase::Succeeded);
}

TEST_F(UpdaterSessionTest, EnterStartsTheUpdateAndTheWindowStaysOpenUntilItEnds) {
    auto session = started();
    UpdaterWindow window(*session);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* close = window.findChild<QPushButton*>(QStringLiteral("close"));
    ASSERT_NE(close, nullptr);
    close->setFocus(); // Enter still means "Update"

    QTest::keyClick(&window, Qt::Key_Return);
    ASSERT_EQ(session->phase(), Phase::Updating);
    EXPECT_FALSE(close->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());

    ASSERT_TRUE(waitUntilSettled(*session));
    EXPECT_EQ(session->phase(), Phase::Succeeded);
    EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("progress"))->value(), 100);
    EXPECT_TRUE(close->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(UpdaterArgumentsTest, OnlyOneSaysAnUpdateIsDue) {
    EXPECT_EQ(offerFromArguments({QStringLiteral("1")}), Offer::UpdateDue);
    EXPECT_EQ(offerFromArguments({QStringLiteral("2")}), Offer::NoUpdateDue);
    EXPECT_EQ(offerFromArguments({}), Offer::NoUpdateDue);
    EXPECT_EQ(offerFromArguments({QStringLiteral("12")}), Offer::NoUpdateDue);
}

} // namespace
} // namespace talwyn::updater
