#include "platform/launcher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace talwyn::platform {
namespace {

class UrlCatcher final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.append(url); }
};

TEST(DesktopLauncher, HandsAddressToTheDesktopUnchanged) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("talwyn-test"), &catcher, "open");
    DesktopLauncher launcher;
    EXPECT_TRUE(launcher.openAddress(QStringLiteral("talwyn-test://support.example/faq?lang=en#top")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("talwyn-test"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.front().toString(),
              QStringLiteral("talwyn-test://support.example/faq?lang=en#top"));
}

TEST(DesktopLauncher, RefusesTextThatIsNoAddress) {
    DesktopLauncher launcher;
    for (const char* text : {"", "no address at all", "http://exa mple.com/%zz"}) {
        EXPECT_FALSE(launcher.openAddress(QString::fromUtf8(text))) << text;
    }
}

class DesktopLauncherProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString writeFile(const QString& name, const QByteArray& content, bool executable) {
        const QString path = QDir(dir_.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        if (executable) {
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(DesktopLauncherProgram, StartsProgramWithOneArgumentInItsFolder) {
    const QString output = QDir(dir_.path()).filePath(QStringLiteral("ran.txt"));
    const QString program = writeFile(QStringLiteral("Talwyn PRO firmware updater"),
                                      "#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$PWD\" > ran.tmp && "
                                      "mv ran.tmp ran.txt\n",
                                      true);
    DesktopLauncher launcher;
    ASSERT_TRUE(launcher.startProgram(program, QStringLiteral("1")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(output); }, 5000));
    QFile result(output);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(result.readAll()),
              QStringLiteral("1|1|") + QDir(dir_.path()).canonicalPath());
}

TEST_F(DesktopLauncherProgram, ReportsProgramThatCannotStart) {
    const QString notExecutable = writeFile(QStringLiteral("updater.txt"), "#!/bin/sh\n", false);
    DesktopLauncher launcher;
    for (const QString& program :
         {QDir(dir_.path()).filePath(QStringLiteral("missing")), notExecutable, dir_.path()}) {
        EXPECT_FALSE(launcher.startProgram(program, QStringLiteral("2"))) << program.toStdString();
    }
}

} // namespace
} // namespace talwyn::platform

#include "launcher_test.moc"
