// Hexadecimal colour text and the numbers stored as text in profile files:
// any text gives a value, and a colour's own text reads back to the colour.

#include "color/color_math.h"
#include "profiles/data_stream.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talwyn;
    using namespace talwyn::color;
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    (void)HexTextToRgb(text);
    (void)parseTextInt(text);
    if (size >= 3) {
        const ColorValue color = data[0] | (data[1] << 8) | (data[2] << 16);
        const Rgb8 rgb = HexTextToRgb(ColorToHexText(color));
        if (rgb.red != data[0] || rgb.green != data[1] || rgb.blue != data[2])
            std::abort();
    }
    return 0;
}
