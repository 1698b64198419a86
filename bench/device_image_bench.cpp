// bench-deps: talwyn_device
// Building the device image of a profile whose six buttons each carry a
// 128-event macro (the macro area overflows, so the cut path runs too).

#include "device/device_image.h"

#include <benchmark/benchmark.h>

namespace {

talwyn::ProfileData heavyProfile() {
    talwyn::ProfileData p;
    p.name = u"Bench profile \u00e9\u20ac";
    for (int b = 0; b < 6; ++b) {
        p.buttons[b].function = talwyn::function_code::kMacro;
        p.buttons[b].param = static_cast<int16_t>(100 + b);
        p.macros[b].macroId = 100 + b;
        for (int e = 0; e < 128; ++e)
            p.macros[b].events.push_back(
                {1, static_cast<int16_t>(0x41 + e % 26), static_cast<uint8_t>(e % 2), 10 * e});
    }
    return p;
}

void BM_BuildDeviceImageSixFullMacros(benchmark::State& state) {
    const talwyn::ProfileData profile = heavyProfile();
    for (auto _ : state) {
        auto image = talwyn::device::buildDeviceImage(profile);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_BuildDeviceImageSixFullMacros);

void BM_BuildDeviceImageDefaultProfile(benchmark::State& state) {
    const talwyn::ProfileData profile;
    for (auto _ : state) {
        auto image = talwyn::device::buildDeviceImage(profile);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_BuildDeviceImageDefaultProfile);

} // namespace
