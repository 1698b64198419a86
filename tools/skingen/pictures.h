#pragma once
// The stand-alone pictures of the skin set: thumbs, scroll bar, colour
// pickers, mouse picture, surface-quality gauges, countdown frames, icon.

#include "ui_layout/skin_files.h"

#include <QImage>

namespace skingen {

QImage renderThumb(talwyn::ui_layout::SkinState state);
QImage renderLevelThumb(int level);
QImage renderScroll(talwyn::ui_layout::SkinState state);
QImage renderColorSlider();
QImage renderColorPanel();
QImage renderColorPalette();
QImage renderMousePicture();
QImage renderSurfacePicture(int percent);
QImage renderCountdownPicture(int frame);
QImage renderAppIcon();

} // namespace skingen
