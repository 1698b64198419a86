// Plasma's pointer settings written into a scratch configuration folder and a
// scratch copy of the kernel's input device list.

#include "platform/pointer/kde_config_file.h"
#include "platform/pointer/kde_pointer_settings.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace talwyn::platform {
namespace {

namespace fs = std::filesystem;
using talwyn::testing::ScratchFolder;

void writeText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An input device as /sys/class/input/<node> shows it.
void addInputDevice(const fs::path& inputClass, const std::string& node, const std::string& vendor,
                    const std::string& product, const std::string& name) {
    const fs::path device = inputClass / node / "device";
    writeText(device / "id" / "vendor", vendor + "\n");
    writeText(device / "id" / "product", product + "\n");
    writeText(device / "name", name + "\n");
}

PointerRequest request(int doubleClickMs, int speed, std::optional<int> wheelLines, int acceleration) {
    PointerRequest r;
    r.doubleClickMs = doubleClickMs;
    r.mouseSpeed = speed;
    r.wheelLines = wheelLines;
    r.acceleration = acceleration == 0 ? kAccelerationOff : AccelerationTriple{6, 0, acceleration};
    return r;
}

class KdePointerSettingsTest : public ::testing::Test {
protected:
    fs::path config() const { return scratch_ / "config"; }
    fs::path inputClass() const { return scratch_ / "input"; }

    void apply(const PointerRequest& r) {
        KdePointerSettings settings(config(), inputClass(),
                                    [this](const PointerRequest&, const std::vector<InputDevice>& devices) {
                                        notices_.push_back(devices);
                                    });
        settings.apply(r);
    }
    QString value(const char* file, const QStringList& group, const char* key) const {
        return KdeConfigFile(config() / file).value(group, QString::fromLatin1(key));
    }

    ScratchFolder scratch_;
    std::vector<std::vector<InputDevice>> notices_;
};

const QStringList kKde{QStringLiteral("KDE")};
const QStringList kMouse{QStringLiteral("Mouse")};
const QStringList kTalwynDevice{QStringLiteral("Libinput"), QStringLiteral("8916"), QStringLiteral("4905"),
                                QStringLiteral("Orvane Talwyn PRO")};

TEST_F(KdePointerSettingsTest, EverySettingLandsWherePlasmaReadsIt) {
    addInputDevice(inputClass(), "event7", "22d4", "1329", "Orvane Talwyn PRO");
    addInputDevice(inputClass(), "event3", "046d", "c077", "Another Mouse");
    addInputDevice(inputClass(), "mouse2", "22d4", "1329", "Orvane Talwyn PRO"); // no event node

    struct Case {
        const char* name;
        PointerRequest request;
        const char* wheelLines; // as the file has it afterwards
        const char* speed;
        const char* flat;
        const char* profile;
    };
    const std::vector<Case> cases{
        {"fast, adaptive, 5 lines", request(400, 15, 5, 1), "5", "0.50", "false", "2"},
        {"slow, flat, page scroll keeps lines", request(1100, 2, kWheelPageScroll, 0), "5", "-0.80", "true",
         "1"},
        {"neutral, no wheel setting", request(500, 10, std::nullopt, 2), "5", "0.00", "false", "2"},
        {"beyond the scale", request(500, 40, 1, 0), "1", "1.00", "true", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        apply(c.request);
        EXPECT_EQ(value("kdeglobals", kKde, "DoubleClickInterval"), QString::number(c.request.doubleClickMs));
        EXPECT_EQ(value("kdeglobals", kKde, "WheelScrollLines"), QString::fromLatin1(c.wheelLines));
        EXPECT_EQ(value("kcminputrc", kMouse, "XLbInptPointerAcceleration"), QString::fromLatin1(c.speed));
        EXPECT_EQ(value("kcminputrc", kMouse, "XLbInptAccelProfileFlat"), QString::fromLatin1(c.flat));
        EXPECT_EQ(value("kcminputrc", kTalwynDevice, "PointerAcceleration"), QString::fromLatin1(c.speed));
        EXPECT_EQ(value("kcminputrc", kTalwynDevice, "PointerAccelerationProfile"),
                  QString::fromLatin1(c.profile));
    }
    EXPECT_TRUE(value("kcminputrc",
                      {QStringLiteral("Libinput"), QStringLiteral("1133"), QStringLiteral("49271"),
                       QStringLiteral("Another Mouse")},
                      "PointerAcceleration")
                    .isNull());
    ASSERT_EQ(notices_.size(), cases.size());
    EXPECT_EQ(notices_.back(), (std::vector<InputDevice>{{QStringLiteral("event7"), 0x22D4, 0x1329,
                                                          QStringLiteral("Orvane Talwyn PRO")}}));
}

TEST_F(KdePointerSettingsTest, TheUsersOtherSettingsStay) {
    writeText(config() / "kcminputrc",
              "[Keyboard]\nNumLock=0\n\n[Mouse]\ncursorTheme=breeze_cursors\n"
              "XLbInptPointerAcceleration=0.3\n\n[Libinput][1][2][Pad]\nTapToClick=true\n");
    writeText(config() / "kdeglobals", "[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n"
                                       "LookAndFeelPackage[$e]=org.kde.breezedark.desktop\n");
    apply(request(700, 10, 3, 0));

    EXPECT_EQ(
        readText(config() / "kcminputrc"),
        "[Keyboard]\nNumLock=0\n\n[Mouse]\ncursorTheme=breeze_cursors\nXLbInptPointerAcceleration=0.00\n"
        "XLbInptAccelProfileFlat=true\n\n[Libinput][1][2][Pad]\nTapToClick=true\n");
    EXPECT_EQ(
        readText(config() / "kdeglobals"),
        "[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n"
        "LookAndFeelPackage[$e]=org.kde.breezedark.desktop\nDoubleClickInterval=700\nWheelScrollLines=3\n");
}

TEST_F(KdePointerSettingsTest, AFolderThatCannotBeWrittenKeepsTheOldFileAndTellsNobody) {
    writeText(config() / "kdeglobals", "[KDE]\nDoubleClickInterval=400\n");
    // A file where the configuration folder's kcminputrc should go cannot be replaced.
    fs::create_directories(config() / "kcminputrc" / "blocked");
    apply(request(900, 10, 3, 0));
    EXPECT_TRUE(notices_.empty());
    EXPECT_TRUE(fs::is_directory(config() / "kcminputrc"));
}

TEST(KdeConfigFile, NamesTheFormatCannotCarryChangeNothing) {
    ScratchFolder scratch;
    KdeConfigFile file(scratch / "rc");
    EXPECT_FALSE(file.set({QStringLiteral("Libinput"), QStringLiteral("Odd]Name")}, QStringLiteral("A"),
                          QStringLiteral("1")));
    EXPECT_FALSE(file.set({QStringLiteral("G")}, QStringLiteral("A=B"), QStringLiteral("1")));
    EXPECT_FALSE(file.set({QStringLiteral("G")}, QStringLiteral("A"), QStringLiteral("1\n[Injected]")));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readText(scratch / "rc"), "");
}

TEST(KdeConfigFolder, FollowsXdgConfigHome) {
    ScratchFolder scratch;
    const talwyn::testing::ScopedEnv configHome("XDG_CONFIG_HOME", scratch.path().c_str());
    EXPECT_EQ(desktopConfigFolder(), scratch.path());
}

} // namespace
} // namespace talwyn::platform
