#pragma once
// Everything of a window's picture that is not a control: surfaces, section
// cards, page labels and pop-up messages. Identical in every state sheet.

#include "ui_layout/control_table.h"

#include <QPainter>

namespace skingen {

void paintWindowArt(QPainter& p, const talwyn::ui_layout::WindowLayout& window);

} // namespace skingen
