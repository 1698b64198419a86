#pragma once
// A cheap look at a skin file before any window is built: is it there, and
// is it whole as far as its structure tells, without decoding its pixels.

#include <QByteArray>
#include <QByteArrayView>

#include <filesystem>

namespace talwyn::skins {

// True for a plain bitmap whose pixels fit in the file, a PNG whose chunks
// run from its signature to its end chunk at the end of the file, and any
// other image whose header the general decoder reads.
bool imageFileLooksWhole(const std::filesystem::path& path);

// The decoder a file's first bytes name, "PNG" or "BMP"; empty when they name
// neither.
QByteArray imageFormatOf(QByteArrayView head);

} // namespace talwyn::skins
