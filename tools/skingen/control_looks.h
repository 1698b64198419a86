#pragma once
// The look of one control in one state, drawn at its rectangle of a sheet.

#include "ui_layout/control_table.h"

#include <QPainter>

namespace skingen {

void paintControlLook(QPainter& p, const talwyn::ui_layout::ControlEntry& control,
                      talwyn::ui_layout::SkinState state);

} // namespace skingen
