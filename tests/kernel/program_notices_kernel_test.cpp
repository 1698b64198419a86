// The program's device-change handling on real uevents: the notifier the
// program builds delivers the mouse's arrival and removal on the UI thread,
// and only the mouse's first interface passes the program's path match.

#include "app/interface_path.h"
#include "kernel/kernel_mouse.h"
#include "platform/device_notifier.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace talwyn::kernel_testing {
namespace {

using app::isTalwynInterfacePath;

TEST(ProgramNoticesKernelTest, MouseUeventsReachTheProgramOnItsOwnThread) {
    int argc = 1;
    char name[] = "kernel_program_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    KernelMouse mouse;
    auto notifier = platform::makeDeviceNotifier();
    QStringList arrived;
    QStringList removed;
    bool onUiThread = true;
    QObject::connect(notifier.get(), &platform::DeviceNotifier::deviceArrived, [&](const QString& path) {
        onUiThread = onUiThread && QThread::currentThread() == application.thread();
        arrived << path;
    });
    QObject::connect(notifier.get(), &platform::DeviceNotifier::deviceRemoved, [&](const QString& path) {
        onUiThread = onUiThread && QThread::currentThread() == application.thread();
        removed << path;
    });
    ASSERT_TRUE(notifier->start());

    mouse.unplug();
    mouse.plug();
    mouse.removeDevice(mouse.addOtherDevice(0x046D, 0xC077, 0));
    const QDeadlineTimer limit(10000);
    while ((arrived.size() < 3 || removed.size() < 3) && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(arrived.size(), 3);
    ASSERT_EQ(removed.size(), 3);
    EXPECT_TRUE(onUiThread);

    const QStringList mouseArrived = arrived.filter(QStringLiteral("VID_22D4"));
    const QStringList mouseRemoved = removed.filter(QStringLiteral("VID_22D4"));
    ASSERT_EQ(mouseArrived.size(), 2);
    ASSERT_EQ(mouseRemoved.size(), 2);
    // The event interface (0) is the one the program follows; the vendor
    // interface (1) and the other device are not.
    EXPECT_TRUE(isTalwynInterfacePath(mouseArrived[0]));
    EXPECT_TRUE(isTalwynInterfacePath(mouseRemoved[0]));
    EXPECT_FALSE(isTalwynInterfacePath(mouseArrived[1]));
    EXPECT_FALSE(isTalwynInterfacePath(mouseRemoved[1]));
    EXPECT_FALSE(isTalwynInterfacePath(arrived[2]));
    EXPECT_FALSE(isTalwynInterfacePath(removed[2]));
}

} // namespace
} // namespace talwyn::kernel_testing
