// bench-deps: talwyn_controls talwyn_skins talwyn_ui_layout
// Paints each skinned control at the largest size any window gives it into an
// offscreen image: one full repaint per iteration.

#include "controls/buttons.h"
#include "controls/color_selector_wnd.h"
#include "controls/color_slider_wnd.h"
#include "controls/combo_button.h"
#include "controls/edits.h"
#include "controls/menu.h"
#include "controls/scroll_progress.h"
#include "controls/sliders.h"
#include "controls/statics.h"
#include "skins/table_rect.h"
#include "ui_layout/control_table.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace talwyn::controls;
using talwyn::ui_layout::ControlKind;

QApplication& application() {
    static int argc = 1;
    static char name[] = "controls_bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *app;
}

// The largest rectangle of a kind over every window of the program.
QSize largest(ControlKind kind, QSize fallback) {
    QSize best;
    for (const auto& window : talwyn::ui_layout::kWindows) {
        for (const auto& control : window.controls) {
            if (control.kind == kind &&
                control.rect.width * control.rect.height > best.width() * best.height()) {
                best = QSize(control.rect.width, control.rect.height);
            }
        }
    }
    return best.isEmpty() ? fallback : best;
}

// The rectangle the colour settings page gives control `id`.
QRect colorPageRect(int id) {
    for (const auto& control : talwyn::ui_layout::kColorSettingsControls) {
        if (control.id == id) {
            return {control.rect.x, control.rect.y, control.rect.width, control.rect.height};
        }
    }
    return {};
}

// A skin-like picture: a vertical gradient with an alpha edge.
QImage picture(QSize size, QColor colour) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, colour.lighter(130));
    gradient.setColorAt(1, colour.darker(130));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRect(QPoint(0, 0), size), 3, 3);
    return image;
}

void paintLoop(benchmark::State& state, QWidget& widget) {
    QImage target(widget.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(std::to_string(widget.width()) + "x" + std::to_string(widget.height()));
}

void BM_Button(benchmark::State& state) {
    application();
    CVexButton button;
    button.resize(largest(ControlKind::Button, {200, 40}));
    const QImage look = picture(button.size(), QColor(0x2A, 0x2D, 0x31));
    button.SetImages(look, look, look, look);
    button.SetCaption(QStringLiteral("Sensor Performance"));
    paintLoop(state, button);
}
BENCHMARK(BM_Button);

void BM_CheckBox(benchmark::State& state) {
    application();
    CVexCheckBox box;
    box.resize(largest(ControlKind::CheckBox, {20, 20}));
    const QImage look = picture(box.size(), QColor(0x32, 0xEB, 0xA5));
    box.SetImages(look, look, look);
    paintLoop(state, box);
}
BENCHMARK(BM_CheckBox);

void BM_ComboButton(benchmark::State& state) {
    application();
    CVexComboButton combo;
    combo.resize(largest(ControlKind::ComboButton, {200, 30}));
    const QImage look = picture(combo.size(), QColor(0x2A, 0x2D, 0x31));
    combo.SetImages(look, look, look);
    combo.SetCaption(QStringLiteral("Left Click"), 1, 0);
    paintLoop(state, combo);
}
BENCHMARK(BM_ComboButton);

void BM_Slider3D(benchmark::State& state) {
    application();
    CVexSliderCtrl3D slider;
    slider.resize(largest(ControlKind::Slider, {600, 30}));
    std::array<QImage, 5> thumbs;
    for (QImage& thumb : thumbs) {
        thumb = picture({16, 23}, QColor(0x32, 0xEB, 0xA5));
    }
    slider.SetImages(picture(slider.size(), QColor(0x20, 0x22, 0x25)), thumbs);
    slider.setRange(50, 19000);
    slider.setThumbCount(5);
    for (int k = 1; k <= 5; ++k) {
        slider.SetValue(k, 800 * k);
    }
    paintLoop(state, slider);
}
BENCHMARK(BM_Slider3D);

void BM_SliderVer(benchmark::State& state) {
    application();
    CVexSliderCtrlVer slider;
    slider.resize(40, 149);
    const QImage thumb = picture({20, 9}, Qt::white);
    slider.SetImages(picture(slider.size(), Qt::red), thumb, thumb, thumb);
    slider.setShowValue(true);
    slider.setValue(40);
    paintLoop(state, slider);
}
BENCHMARK(BM_SliderVer);

void BM_Scroll(benchmark::State& state) {
    application();
    CVexScrollCtrl scroll;
    scroll.resize(18, 198);
    ScrollImages images;
    images.background = picture({18, 198}, QColor(0x20, 0x22, 0x25));
    images.thumb = images.thumbPressed = picture({18, 16}, Qt::gray);
    images.first = images.firstPressed = images.second = images.secondPressed = picture({18, 18}, Qt::gray);
    scroll.SetImages(images);
    scroll.setRange(0, 40);
    scroll.SetPos(17);
    paintLoop(state, scroll);
}
BENCHMARK(BM_Scroll);

void BM_Progress(benchmark::State& state) {
    application();
    CVexProgressCtrl bar;
    bar.resize(largest(ControlKind::ProgressBar, {20, 120}));
    bar.setImages(picture(bar.size(), QColor(0x20, 0x22, 0x25)),
                  picture(bar.size(), QColor(0x32, 0xEB, 0xA5)));
    bar.setRange(0, 100);
    bar.setPosition(60);
    bar.setVertical(bar.height() > bar.width());
    paintLoop(state, bar);
}
BENCHMARK(BM_Progress);

void BM_Menu(benchmark::State& state) {
    application();
    CVexMenu menu(nullptr, 1, QRect(0, 0, 220, 10));
    const CVexMenu* sub = menu.GetSubMenu(12);
    for (int i = 0; i < 16; ++i) {
        menu.AddItem(10 + i, QStringLiteral("Button function %1").arg(i), 0, i != 3, i == 2);
    }
    menu.AddSubItem(40, 12, QStringLiteral("Macro"), 0, true);
    menu.Layout();
    benchmark::DoNotOptimize(sub);
    paintLoop(state, menu);
}
BENCHMARK(BM_Menu);

void BM_Static(benchmark::State& state) {
    application();
    CVexStatic label;
    label.resize(largest(ControlKind::Static, {300, 40}));
    label.SetBackground(picture(label.size(), QColor(0x20, 0x22, 0x25)));
    label.AddImage(picture(label.size(), QColor(0x32, 0xEB, 0xA5, 0x80)));
    label.SetText(QStringLiteral("Firmware version 1.02"));
    paintLoop(state, label);
}
BENCHMARK(BM_Static);

void BM_MouseStatic(benchmark::State& state) {
    application();
    CVexMouseStatic preview;
    preview.resize(largest(ControlKind::MousePreview, {270, 369}));
    preview.setMouseImage(picture({270, 369}, QColor(0x30, 0x30, 0x30, 0xC0)),
                          talwyn::skins::toQRect(talwyn::ui_layout::kMouseZone1),
                          talwyn::skins::toQRect(talwyn::ui_layout::kMouseZone2));
    preview.SetZone1Color(0xC032EBA5);
    paintLoop(state, preview);
}
BENCHMARK(BM_MouseStatic);

void BM_ColorStatic(benchmark::State& state) {
    application();
    CKytColorStatic field;
    field.resize(143, 140);
    field.setOverlay(picture({143, 140}, QColor(0, 0, 0, 0x20)));
    paintLoop(state, field);
}
BENCHMARK(BM_ColorStatic);

void BM_Edit(benchmark::State& state) {
    application();
    CVexEdit edit;
    edit.resize(largest(ControlKind::Edit, {200, 24}));
    edit.setText(QStringLiteral("32EBA5"));
    paintLoop(state, edit);
}
BENCHMARK(BM_Edit);

void BM_NumberEdit(benchmark::State& state) {
    application();
    CKYTEdit edit;
    edit.resize(largest(ControlKind::NumberEdit, {80, 24}));
    edit.setText(QStringLiteral("16000"));
    paintLoop(state, edit);
}
BENCHMARK(BM_NumberEdit);

// The colour field as the lighting page uses it: hue from the strip,
// saturation across, value up, regenerated whole on every paint.
void BM_ColorSelector(benchmark::State& state) {
    application();
    HxColorSelectorWnd selector(nullptr, colorPageRect(picker::kSelectorId));
    selector.SetMode(picker::kModeHue);
    selector.SetColor(0x8032EB);
    paintLoop(state, selector);
}
BENCHMARK(BM_ColorSelector);

void BM_ColorSlider(benchmark::State& state) {
    application();
    HxColorSliderWnd slider(nullptr, colorPageRect(picker::kSliderId));
    slider.SetMode(picker::kModeHue | picker::kReversed);
    paintLoop(state, slider);
}
BENCHMARK(BM_ColorSlider);

} // namespace
