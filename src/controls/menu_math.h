#pragma once
// Layout and hit tests of the skinned menu, free of any window.

#include "controls/value_math.h"

#include <span>
#include <vector>

namespace talwyn::controls {

// Entry i gets (1, 4 + i*h)-(W - 15, 4 + (i + 1)*h).
std::vector<Box> layoutMenuEntries(int count, int textHeight, int windowWidth);
// n*h + 8 for n entries.
int menuHeight(int count, int textHeight);

// The first entry whose rectangle holds the point, or -1. With `atLeastWidth`
// above 0 every rectangle is widened to that width from its left edge, so
// presses on the strip right of the entries still hit.
int entryAt(std::span<const Box> entries, int x, int y, int atLeastWidth = 0);

} // namespace talwyn::controls
