#include "app/skin_store.h"

#include "controls/paint_support.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string_view>
#include <variant>

namespace talwyn::app {

namespace {

using ui_layout::kSkinFiles;
using ui_layout::SkinRole;
using ui_layout::SkinState;

// No skin picture comes near this; a larger file is not one of ours.
constexpr std::uintmax_t kMaxImageFileBytes = 64u * 1024 * 1024;

constexpr size_t fileIndex(std::string_view name) {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (kSkinFiles[i].name == name) {
            return i;
        }
    }
    throw "skin file missing from the list"; // fails the build when the list changes
}

// The whole picture: the loaded image itself (shared) or a copy the caller owns.
struct Whole {
    size_t file;
    bool copy;
};
// A cut from the sheet of the requested state.
struct CutByState {
    SkinRole role;
};
// The scroll bar's parts: their normal look lives in the Down picture, their
// pressed look in the Over picture.
struct CutScrollPart {};

using Yield = std::variant<Whole, CutByState, CutScrollPart>;

struct IndexRule {
    int first;
    int last;
    Yield yield;
};

constexpr Whole shared(std::string_view name) {
    return {fileIndex(name), false};
}
constexpr Whole copied(std::string_view name) {
    return {fileIndex(name), true};
}

// Indices 23 and 62 are holes: they, and everything not listed, yield nothing.
constexpr IndexRule kIndexTable[] = {
    {0, 0, copied("Main_Normal.bmp")},
    {1, 21, CutByState{SkinRole::MainSheet}},
    {22, 22, shared("Mouse_Settings_Normal.bmp")},
    {24, 49, CutByState{SkinRole::MouseSettingsSheet}},
    {50, 50, shared("Sensor_Performance_Normal.bmp")},
    {51, 61, CutByState{SkinRole::SensorSheet}},
    {63, 81, CutByState{SkinRole::SensorSheet}},
    {82, 86, CutByState{SkinRole::ColorSheet}},
    {87, 87, shared("Color_Settings_BK.png")},
    {88, 128, CutByState{SkinRole::ColorSheet}},
    {129, 129, copied("Talwyn.png")},
    {130, 130, CutByState{SkinRole::ColorBackground}},
    {131, 131, CutByState{SkinRole::ColorSheet}},
    {132, 132, copied("ColorPalete.png")},
    {133, 133, shared("Macro_Settings_BK.bmp")},
    {134, 141, CutByState{SkinRole::MacroSheet}},
    {142, 142, shared("Support_Normal.bmp")},
    {143, 148, CutByState{SkinRole::SupportSheet}},
    {149, 149, copied("Color_slider.png")},
    {150, 150, copied("Slider_Normal.png")},
    {151, 151, copied("Slider_Disable.png")},
    {152, 152, copied("Slider1_Over.png")},
    {153, 153, copied("Slider2_Over.png")},
    {154, 154, copied("Slider3_Over.png")},
    {155, 155, copied("Slider4_Over.png")},
    {156, 156, copied("Slider5_Over.png")},
    {157, 157, copied("Scroll_Normal.bmp")},
    {158, 160, CutScrollPart{}},
    {161, 161, copied("ColorPanel.bmp")},
    {162, 162, shared("ReName_Normal.bmp")},
    {163, 166, CutByState{SkinRole::RenameSheet}},
    {167, 167, shared("LeftClickWarn_Normal.bmp")},
    {168, 170, CutByState{SkinRole::LeftClickWarnSheet}},
    {171, 171, shared("DeleteMacro_Normal.bmp")},
    {172, 174, CutByState{SkinRole::DeleteMacroSheet}},
    {175, 175, shared("SensorSQAT1_Normal.bmp")},
    {176, 178, CutByState{SkinRole::SensorSqat1Sheet}},
    {179, 179, shared("SensorSQAT2_Normal.bmp")},
    {180, 184, CutByState{SkinRole::SensorSqat2Sheet}},
    {185, 185, shared("SensorSQAT3_Normal.bmp")},
    {186, 187, CutByState{SkinRole::SensorSqat3Sheet}},
    {188, 188, shared("ResetWarn_Normal.bmp")},
    {189, 191, CutByState{SkinRole::ResetWarnSheet}},
    {192, 192, shared("UpdateWarn_Normal.bmp")},
    {193, 195, CutByState{SkinRole::UpdateWarnSheet}},
    {196, 196, shared("AssignKey_Normal.bmp")},
    {197, 200, CutByState{SkinRole::AssignKeySheet}},
};

const IndexRule* ruleFor(int index) {
    for (const IndexRule& rule : kIndexTable) {
        if (index >= rule.first && index <= rule.last) {
            return &rule;
        }
    }
    return nullptr;
}

std::optional<size_t> sheetIndex(SkinRole role, int state) {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (kSkinFiles[i].role == role && static_cast<int>(kSkinFiles[i].state) == state) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<size_t> scrollPartFile(int state) {
    switch (state) {
    case 0:
        return fileIndex("Scroll_Down.bmp");
    case 1:
        return fileIndex("Scroll_Over.bmp");
    default:
        return std::nullopt;
    }
}

} // namespace

QImage loadImageFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxImageFileBytes) {
        return {};
    }
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    {
        std::ifstream file(path, std::ios::binary);
        if (!file.read(bytes.data(), static_cast<std::streamsize>(size))) {
            return {};
        }
    }
    // Decoded from the memory copy: the file is closed already.
    return QImage::fromData(bytes);
}

void drawCenteredText(const QString& text, QColor colour, const QFont& font, const QRect& rect, bool centreX,
                      bool centreY, QPainter& painter) {
    controls::DrawLabel(text, colour, centreX, centreY, rect, font, painter);
}

SkinFailureHandler SkinFailureHandler::interactive() {
    return {[](const QString& message) { QMessageBox::warning(nullptr, QStringLiteral("ORVANE"), message); },
            [](int exitCode) {
                // Queued: the program ends when its event loop reaches this, as after a quit message.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); },
                    Qt::QueuedConnection);
            }};
}

SkinStore::SkinStore(std::filesystem::path folder, SkinFailureHandler failure)
    : folder_(std::move(folder)), failure_(std::move(failure)) {}

void SkinStore::loadSkins() {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        images_[i] = loadImageFile(folder_ / std::filesystem::path(std::string(kSkinFiles[i].name)));
    }
    released_.reset();
    loaded_ = true;
    releaseWhenIdle();
}

void SkinStore::releaseSheets() {
    for (size_t i = 0; i < images_.size(); ++i) {
        if (!images_[i].isNull()) {
            images_[i] = QImage();
            released_.set(i);
        }
    }
}

size_t SkinStore::heldSheetCount() const {
    return static_cast<size_t>(
        std::count_if(images_.begin(), images_.end(), [](const QImage& image) { return !image.isNull(); }));
}

void SkinStore::releaseWhenIdle() {
    if (releasePending_ || QCoreApplication::instance() == nullptr) {
        return;
    }
    releasePending_ = true;
    QTimer::singleShot(0, &releaseContext_, [this] {
        releasePending_ = false;
        releaseSheets();
    });
}

const QImage& SkinStore::sheetAt(size_t file) {
    if (released_.test(file)) {
        images_[file] = loadImageFile(folder_ / std::filesystem::path(std::string(kSkinFiles[file].name)));
        released_.reset(file);
        releaseWhenIdle();
    }
    return images_[file];
}

QImage SkinStore::fail() {
    if (failure_.showMessage) {
        failure_.showMessage(QStringLiteral("ui load failed!"));
    }
    if (failure_.postQuit) {
        failure_.postQuit(0);
    }
    return {};
}

QImage SkinStore::skinImage(int index, int state, int left, int top, int right, int bottom) {
    if (!loaded_) {
        loadSkins();
    }
    const IndexRule* rule = ruleFor(index);
    if (rule == nullptr || state < 0 || state >= kStateCount) {
        return fail();
    }
    std::optional<size_t> file;
    bool cut = true;
    bool copy = false;
    if (const auto* whole = std::get_if<Whole>(&rule->yield)) {
        file = whole->file;
        cut = false;
        copy = whole->copy;
    } else if (const auto* byState = std::get_if<CutByState>(&rule->yield)) {
        file = sheetIndex(byState->role, state);
    } else {
        file = scrollPartFile(state);
    }
    if (!file || sheetAt(*file).isNull()) {
        return fail();
    }
    const QImage& source = images_[*file];
    if (!cut) {
        return copy ? source.copy() : source;
    }
    if (right <= left || bottom <= top) {
        return {};
    }
    return source.copy(QRect(left, top, right - left, bottom - top));
}

SkinStore& skinStore() {
    static SkinStore store(std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()) /
                           std::filesystem::path(std::string(ui_layout::kSkinFolderName)));
    return store;
}

} // namespace talwyn::app
