#include "platform/single_instance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace talwyn::platform {
namespace {

constexpr int kWaitMs = 2000;

QByteArray message(uint32_t number, uint32_t first = 0) {
    QByteArray bytes(kInstanceMessageBytes, '\0');
    qToLittleEndian(number, bytes.data());
    qToLittleEndian(first, bytes.data() + 4);
    return bytes;
}

QByteArray tokenMessage(const QByteArray& token) {
    return message(kActivationTokenMessage, static_cast<uint32_t>(token.size())) + token;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    std::unique_ptr<LocalSingleInstance>
    instance(const QString& title = QStringLiteral("TALWYN Pro Software"),
             const QString& lock = QStringLiteral("ORVANE TALWYN Pro Config")) {
        return std::make_unique<LocalSingleInstance>(lock, title, folder_.path());
    }

    QTemporaryDir folder_;
};

TEST_F(SingleInstanceTest, SecondStartReachesFirstCopyAndIsRefused) {
    auto first = instance();
    EXPECT_FALSE(first->notifyRunningCopy()); // nobody runs yet
    ASSERT_TRUE(first->claim());
    QSignalSpy shown(first.get(), &SingleInstance::showWindowRequested);

    auto second = instance();
    EXPECT_TRUE(second->notifyRunningCopy());
    EXPECT_FALSE(second->claim());
    ASSERT_TRUE(shown.wait(kWaitMs));
    EXPECT_EQ(shown.count(), 1);
}

TEST_F(SingleInstanceTest, TheStartsActivationTokenTravelsWithTheShowRequest) {
    auto first = instance();
    ASSERT_TRUE(first->claim());
    QSignalSpy shown(first.get(), &SingleInstance::showWindowRequested);
    const struct {
        const char* token; // null: none given
        QByteArray expected;
    } starts[] = {{"launcher-token-1", "launcher-token-1"}, {nullptr, ""}};
    for (const auto& start : starts) {
        if (start.token != nullptr) {
            ::setenv("XDG_ACTIVATION_TOKEN", start.token, 1);
        } else {
            ::unsetenv("XDG_ACTIVATION_TOKEN");
        }
        shown.clear();
        EXPECT_TRUE(instance()->notifyRunningCopy());
        ASSERT_TRUE(shown.wait(kWaitMs));
        EXPECT_EQ(shown.takeFirst().at(0).toByteArray(), start.expected);
    }
}

TEST_F(SingleInstanceTest, TitleIsMatchedWithoutRegardToCase) {
    auto first = instance(QStringLiteral("Talwyn PRO Software"));
    ASSERT_TRUE(first->claim());
    QSignalSpy shown(first.get(), &SingleInstance::showWindowRequested);

    EXPECT_TRUE(instance(QStringLiteral("TALWYN Pro Software"))->notifyRunningCopy());
    EXPECT_TRUE(shown.wait(kWaitMs));
}

TEST_F(SingleInstanceTest, LockIsFreedWhenFirstCopyEnds) {
    auto first = instance();
    ASSERT_TRUE(first->claim());
    auto second = instance();
    EXPECT_FALSE(second->claim());
    first.reset();
    EXPECT_TRUE(second->claim());
}

TEST_F(SingleInstanceTest, UnusableFolderStillLetsTheProgramRun) {
    const QString notAFolder = folder_.filePath(QStringLiteral("file"));
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    LocalSingleInstance first(QStringLiteral("lock"), QStringLiteral("title"), notAFolder);
    LocalSingleInstance second(QStringLiteral("lock"), QStringLiteral("title"), notAFolder);
    EXPECT_FALSE(first.notifyRunningCopy());
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(second.claim());
}

TEST_F(SingleInstanceTest, IndependentNamesDoNotMeet) {
    auto first = instance();
    ASSERT_TRUE(first->claim());
    QSignalSpy shown(first.get(), &SingleInstance::showWindowRequested);

    auto other = instance(QStringLiteral("Other Window"), QStringLiteral("Other Lock"));
    EXPECT_FALSE(other->notifyRunningCopy());
    EXPECT_TRUE(other->claim());
    EXPECT_FALSE(shown.wait(100));
}

TEST_F(SingleInstanceTest, ForeignListenerGetsMessageButDoesNotStopStart) {
    QLocalServer foreign;
    auto starting = instance();
    ASSERT_TRUE(foreign.listen(starting->socketPath()));

    EXPECT_TRUE(starting->notifyRunningCopy());
    ASSERT_TRUE(foreign.waitForNewConnection(kWaitMs));
    QLocalSocket* peer = foreign.nextPendingConnection();
    while (peer->bytesAvailable() < kInstanceMessageBytes && peer->waitForReadyRead(kWaitMs)) {
    }
    EXPECT_EQ(peer->readAll(), message(kShowWindowMessage));

    // The lock is free, so this copy runs and takes the name over.
    ASSERT_TRUE(starting->claim());
    QSignalSpy shown(starting.get(), &SingleInstance::showWindowRequested);
    EXPECT_TRUE(instance()->notifyRunningCopy());
    EXPECT_TRUE(shown.wait(kWaitMs));
}

TEST_F(SingleInstanceTest, SocketLeftByCrashedCopyIsReplaced) {
    auto first = instance();
    {
        // A bound socket nobody listens on, as a killed copy leaves it.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = first->socketPath().toLocal8Bit();
        ASSERT_LT(static_cast<size_t>(path.size()), sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), path.size());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    EXPECT_FALSE(instance()->notifyRunningCopy());
    ASSERT_TRUE(first->claim());
    QSignalSpy shown(first.get(), &SingleInstance::showWindowRequested);
    EXPECT_TRUE(instance()->notifyRunningCopy());
    EXPECT_TRUE(shown.wait(kWaitMs));
}

struct PeerCase {
    const char* name;
    QByteArray bytes;
    int showRequests;
};

void PrintTo(const PeerCase& c, std::ostream* os) {
    *os << c.name;
}

class SingleInstancePeer : public SingleInstanceTest, public ::testing::WithParamInterface<PeerCase> {};

TEST_P(SingleInstancePeer, OnlyWholeShowMessagesCount) {
    auto first = instance();
    ASSERT_TRUE(first->claim());
    QSignalSpy shown(first.get(), &SingleInstance::showWindowRequested);

    QLocalSocket peer;
    peer.connectToServer(first->socketPath());
    ASSERT_TRUE(peer.waitForConnected(kWaitMs));
    peer.write(GetParam().bytes);
    ASSERT_TRUE(peer.waitForBytesWritten(kWaitMs));
    peer.disconnectFromServer();
    const int expected = GetParam().showRequests;
    [[maybe_unused]] const bool reached = QTest::qWaitFor([&] { return shown.count() >= expected; }, kWaitMs);
    QTest::qWait(200); // room for requests that should not come
    EXPECT_EQ(shown.count(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, SingleInstancePeer,
    ::testing::Values(PeerCase{"Show", message(2028), 1}, PeerCase{"OtherMessage", message(1192), 0},
                      PeerCase{"Truncated", message(2028).left(7), 0},
                      PeerCase{"TwoShows", message(2028).repeated(2), 2},
                      PeerCase{"TokenThenShow", tokenMessage("t-1") + message(2028), 1},
                      PeerCase{"TokenCutShort", tokenMessage("t-1").left(14) + message(2028), 0},
                      PeerCase{"OversizedToken", message(2029, 100000) + message(2028), 0},
                      // A flood is cut off instead of being read forever.
                      PeerCase{"Flood", message(2028).repeated(4096), 0}),
    [](const ::testing::TestParamInfo<PeerCase>& generated) { return generated.param.name; });

} // namespace
} // namespace talwyn::platform
