#include "controls/menu_math.h"

#include <algorithm>

namespace talwyn::controls {

std::vector<Box> layoutMenuEntries(int count, int textHeight, int windowWidth) {
    std::vector<Box> boxes;
    boxes.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        boxes.push_back({1, 4 + i * textHeight, windowWidth - 15, 4 + (i + 1) * textHeight});
    }
    return boxes;
}

int menuHeight(int count, int textHeight) {
    return count * textHeight + 8;
}

int entryAt(std::span<const Box> entries, int x, int y, int atLeastWidth) {
    for (size_t i = 0; i < entries.size(); ++i) {
        Box box = entries[i];
        box.right = std::max(box.right, box.left + atLeastWidth);
        if (box.contains(x, y)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace talwyn::controls
