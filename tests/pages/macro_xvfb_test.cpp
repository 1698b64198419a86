// The macro page in the running program, driven as a person drives it: a
// macro named in the list, keys recorded through the system-wide key source,
// a mouse click inserted from the editor's menu, the macro put on button 3
// and applied reaches the mouse's slot and the macro files.

#include "pages_xvfb_fixture.h"

#include "macros/macro_files.h"

namespace talwyn {
namespace {

using namespace pages_e2e;
using ui_layout::WindowId;

// One macro event as the slot image holds it: type, 16-bit usage, flag, 24-bit delay.
struct ImageEvent {
    int type;
    int usage;
    int flag;
    int delay;
    bool operator==(const ImageEvent&) const = default;
};

void PrintTo(const ImageEvent& e, std::ostream* out) {
    *out << "{" << e.type << ", 0x" << std::hex << e.usage << std::dec << ", " << e.flag << ", " << e.delay
         << "}";
}

std::vector<uint8_t> fromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// The events of the macro on button slot `button` of a slot image.
std::vector<ImageEvent> macroEventsOfButton(const std::vector<uint8_t>& image, int button) {
    const size_t slot = 0x65 + 7 * static_cast<size_t>(button);
    if (image.size() < 0x800 || image[slot] != 0x03) {
        return {};
    }
    const size_t offset = image[slot + 2] | image[slot + 3] << 8;
    const size_t count = image[slot + 4] | image[slot + 5] << 8;
    std::vector<ImageEvent> events;
    for (size_t k = 0; k < count && offset + 7 * (k + 1) <= image.size(); ++k) {
        const uint8_t* e = &image[offset + 7 * k];
        events.push_back({e[0], e[1] | e[2] << 8, e[3], e[4] | e[5] << 8 | e[6] << 16});
    }
    return events;
}

TEST_F(PagesEndToEnd, ARecordedMacroOnButtonThreeReachesTheSlotAndTheMacroFiles) {
    constexpr int kMacroPage = 1003;
    constexpr int kButtonPage = 1000;
    constexpr int kButton3 = 1022;
    desktop_->clickControl(WindowId::Main, kMacroPage);

    // "New Macro", the name typed into the list's edit at a person's pace, Enter.
    desktop_->clickControl(WindowId::MacroSettings, 1064);
    for (const uint32_t key : {XK_F, XK_i, XK_r, XK_e}) {
        if (key == XK_F) {
            input_->key(XK_Shift_L, true);
        }
        input_->tap(key);
        if (key == XK_F) {
            input_->key(XK_Shift_L, false);
        }
        std::this_thread::sleep_for(150ms);
    }
    desktop_->press(XK_Return);

    // "Start Record", a and b typed, "Stop Record".
    desktop_->clickControl(WindowId::MacroSettings, 1067);
    for (const uint32_t key : {XK_a, XK_b}) {
        input_->tap(key);
        std::this_thread::sleep_for(150ms);
    }
    std::this_thread::sleep_for(300ms);
    desktop_->clickControl(WindowId::MacroSettings, 1068);

    // Editor menu: "Insert mouse event" > "Left button" > "Click", after the selected (last) event.
    const QPoint editorSpot =
        mainWindow()->topLeft() + Desktop::controlCentre(WindowId::MacroSettings, 1070) + QPoint(0, 80);
    input_->movePointer(editorSpot.x(), editorSpot.y());
    std::this_thread::sleep_for(100ms);
    input_->button(3, true);
    input_->button(3, false);
    std::this_thread::sleep_for(400ms);
    const auto editorMenu = [](QSize size) { return size.width() == 170; };
    const auto mouseEventsMenu = [](QSize size) { return size.width() == 120 && size.height() > 80; };
    const auto leftButtonMenu = [&](QSize size) { return !editorMenu(size) && !mouseEventsMenu(size); };
    pickMenuEntry(xvfb_.displayName(), *input_, 2, 6, editorMenu);
    pickMenuEntry(xvfb_.displayName(), *input_, 0, 6, mouseEventsMenu);
    pickMenuEntry(xvfb_.displayName(), *input_, 2, 3, leftButtonMenu);

    // Button 3 on the button page: the "Macro" entry's submenu lists the new macro.
    desktop_->clickControl(WindowId::Main, kButtonPage);
    desktop_->clickControl(WindowId::MouseSettings, kButton3);
    pickMenuEntry(xvfb_.displayName(), *input_, 4, 6, [](QSize size) { return size.width() == 200; });
    pickMenuEntry(xvfb_.displayName(), *input_, 0, 1, [](QSize size) { return size.width() != 200; });

    const auto stored =
        applyUntil([](const ProfileData& profile) { return profile.buttons[2].function == 14; });
    ASSERT_TRUE(stored) << errors();
    EXPECT_EQ(stored->buttons[2].param, 16);

    const std::vector<ImageEvent> expected = {
        {1, 0x04, 0, 0}, {1, 0x04, 1, 0}, {1, 0x05, 0, 0}, {1, 0x05, 1, 0}, {16, 1, 0, 0}, {16, 1, 1, 0},
    };
    std::vector<ImageEvent> inSlot;
    EXPECT_TRUE(waitFor([&] {
        const nlohmann::json state = mouseState();
        inSlot = state.is_null()
                     ? std::vector<ImageEvent>()
                     : macroEventsOfButton(fromHex(state.at("images").at(0).get<std::string>()), 2);
        return inSlot == expected;
    }));
    EXPECT_EQ(inSlot, expected) << errors();

    MacroLibrary onDisk;
    const fs::path macros = folder_ / "data" / "Orvane" / "TALWYN" / "Macros";
    ASSERT_EQ(MacroFolder(macros).load(onDisk).list, MacroFileStatus::Ok);
    ASSERT_EQ(onDisk.size(), 1u);
    EXPECT_EQ(onDisk.at(0).name, u"Fire");
    EXPECT_EQ(onDisk.at(0).macroId, 16);
    std::vector<ImageEvent> inFile;
    for (const CEventItem& event : onDisk.at(0).events) {
        inFile.push_back({event.type, event.code, event.flag, event.delay});
    }
    EXPECT_EQ(inFile, (std::vector<ImageEvent>{{1, 0x41, 0, 0},
                                               {1, 0x41, 1, 0},
                                               {1, 0x42, 0, 0},
                                               {1, 0x42, 1, 0},
                                               {16, 1, 0, 0},
                                               {16, 1, 1, 0}}));
}

} // namespace
} // namespace talwyn
