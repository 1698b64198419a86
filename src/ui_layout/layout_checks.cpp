// Build-time guarantees of the window table: a rectangle moved out of its
// window, a repeated control ID, or a window whose sheets have another size
// stops the build instead of showing up as a broken picture.

#include "ui_layout/control_table.h"

namespace talwyn::ui_layout {
namespace {

constexpr bool everyControlLiesInsideItsWindow() {
    for (const auto& w : kWindows) {
        for (const auto& c : w.controls) {
            if (!c.rect.liesInside(w.size)) {
                return false;
            }
        }
    }
    return true;
}

constexpr bool controlIdsAreUniquePerWindow() {
    for (const auto& w : kWindows) {
        for (std::size_t i = 0; i < w.controls.size(); ++i) {
            for (std::size_t j = i + 1; j < w.controls.size(); ++j) {
                if (w.controls[i].id == w.controls[j].id) {
                    return false;
                }
            }
        }
    }
    return true;
}

constexpr bool sheetsHaveTheirWindowsSize() {
    for (const auto& w : kWindows) {
        for (auto s : kAllSkinStates) {
            if (const auto f = sheetFor(w.sheets, s); f && f->size != w.size) {
                return false;
            }
        }
        if (!sheetFor(w.sheets, SkinState::Normal)) {
            return false;
        }
    }
    return true;
}

static_assert(everyControlLiesInsideItsWindow(), "a control rectangle reaches outside its window");
static_assert(controlIdsAreUniquePerWindow(), "a window lists the same control ID twice");
static_assert(sheetsHaveTheirWindowsSize(), "a window's sheets are missing or of another size");

} // namespace
} // namespace talwyn::ui_layout
