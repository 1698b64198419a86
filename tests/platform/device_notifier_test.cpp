#include "platform/device_notifier.h"

#include "sim/sim_mouse.h"
#include "sim/sim_server.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace talwyn::platform {
namespace {

// A monitor whose notices come from a thread of its own, like the real ones.
class ThreadedMonitor final : public hid::DeviceMonitor {
public:
    struct Record {
        bool started = false;
        bool stopped = false;
    };

    ThreadedMonitor(bool startSucceeds, Record& record) : startSucceeds_(startSucceeds), record_(record) {}

    bool start(Callback callback) override {
        record_.started = startSucceeds_;
        callback_ = std::move(callback);
        return startSucceeds_;
    }
    void stop() override { record_.stopped = true; }

    void noticesFromOwnThread(const std::vector<hid::DeviceNotice>& notices) {
        std::thread([this, notices] {
            for (const auto& notice : notices) {
                callback_(notice);
            }
        }).join();
    }

private:
    bool startSucceeds_;
    Record& record_;
    Callback callback_;
};

constexpr char kMousePath[] =
    R"(\\?\HID#VID_22D4&PID_1329&MI_00#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
constexpr char kOtherPath[] =
    R"(\\?\HID#VID_046D&PID_C077#6&2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

TEST(MonitorDeviceNotifier, NoticesReachTheUiThreadInOrder) {
    ThreadedMonitor::Record record;
    auto monitor = std::make_unique<ThreadedMonitor>(true, record);
    ThreadedMonitor* source = monitor.get();
    MonitorDeviceNotifier notifier(std::move(monitor));
    ASSERT_TRUE(notifier.start());

    std::vector<std::pair<char, QString>> seen;
    const auto onUiThread = [&](char kind, const QString& path) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        seen.emplace_back(kind, path);
    };
    QObject::connect(&notifier, &DeviceNotifier::deviceArrived,
                     [&](const QString& p) { onUiThread('+', p); });
    QObject::connect(&notifier, &DeviceNotifier::deviceRemoved,
                     [&](const QString& p) { onUiThread('-', p); });

    source->noticesFromOwnThread({{hid::DeviceChange::Arrival, kMousePath},
                                  {hid::DeviceChange::Arrival, kOtherPath},
                                  {hid::DeviceChange::Removal, kMousePath}});
    EXPECT_TRUE(seen.empty()) << "delivered on the monitor's thread instead of queued";
    QCoreApplication::processEvents();

    const std::vector<std::pair<char, QString>> expected{
        {'+', kMousePath}, {'+', kOtherPath}, {'-', kMousePath}};
    EXPECT_EQ(seen, expected);
}

TEST(MonitorDeviceNotifier, StartFailsWithoutASource) {
    ThreadedMonitor::Record record;
    MonitorDeviceNotifier refusing(std::make_unique<ThreadedMonitor>(false, record));
    EXPECT_FALSE(refusing.start());

    MonitorDeviceNotifier missing(nullptr);
    EXPECT_FALSE(missing.start());
}

TEST(MonitorDeviceNotifier, StopsMonitorAndDropsPendingNoticesWhenDestroyed) {
    ThreadedMonitor::Record record;
    int delivered = 0;
    {
        auto monitor = std::make_unique<ThreadedMonitor>(true, record);
        ThreadedMonitor* source = monitor.get();
        MonitorDeviceNotifier notifier(std::move(monitor));
        ASSERT_TRUE(notifier.start());
        QObject::connect(&notifier, &DeviceNotifier::deviceArrived, [&] { ++delivered; });
        source->noticesFromOwnThread({{hid::DeviceChange::Arrival, kMousePath}});
    }
    EXPECT_TRUE(record.stopped);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
}

TEST(MakeDeviceNotifier, FollowsTheSimulatedMouseBeingPulledAndPluggedIn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string socket = dir.filePath(QStringLiteral("mouse.sock")).toStdString();
    sim::SimMouse mouse;
    sim::SimServer server(mouse);
    std::string error;
    ASSERT_TRUE(server.start(socket, &error)) << error;
    ::setenv("TALWYN_HID", ("sim:" + socket).c_str(), 1);
    const auto notifier = makeDeviceNotifier();
    ::unsetenv("TALWYN_HID");
    ASSERT_TRUE(notifier->start());
    QSignalSpy arrived(notifier.get(), &DeviceNotifier::deviceArrived);
    QSignalSpy removed(notifier.get(), &DeviceNotifier::deviceRemoved);

    mouse.unplug();
    ASSERT_TRUE(removed.wait(5000));
    mouse.plug();
    ASSERT_TRUE(arrived.wait(5000));

    // The program's own interface is among the notices, spelled the Windows way.
    const auto mentionsProgramInterface = [](const QSignalSpy& spy) {
        for (const auto& arguments : spy) {
            const QString path = arguments.front().toString();
            if (path.startsWith(QStringLiteral(R"(\\?\HID#VID_22D4&PID_1329&MI_00#)"))) {
                return true;
            }
        }
        return false;
    };
    QTest::qWait(100); // the rest of the interfaces of each change
    EXPECT_TRUE(mentionsProgramInterface(removed));
    EXPECT_TRUE(mentionsProgramInterface(arrived));
}

} // namespace
} // namespace talwyn::platform
