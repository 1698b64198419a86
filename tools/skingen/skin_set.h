#pragma once
// Renders every file of the skin set and writes it under its exact name.

#include "ui_layout/skin_files.h"

#include <QImage>
#include <filesystem>
#include <string>

namespace skingen {

QImage renderSkinFile(const talwyn::ui_layout::SkinFile& file);

// Writes every generated file into folder (created when missing). Each file
// is written beside its final name first and then moved over it, so an
// interrupted run never leaves a half-written picture in place of a good one.
// Returns an empty string on success, otherwise what failed.
std::string writeSkinSet(const std::filesystem::path& folder);

// Every generated picture on one sheet, labelled with its file name.
QImage renderContactSheet();

// Saves one image in the format its name asks for, through a temporary file.
std::string saveImage(const QImage& image, const std::filesystem::path& target,
                      talwyn::ui_layout::SkinFormat format);

} // namespace skingen
