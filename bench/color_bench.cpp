// bench-deps: talwyn_color
// The colour picker refills a strip on every repaint and a field row by row:
// each fill over a 300-pixel run.

#include "color/color_math.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using talwyn::color::Pixel;

constexpr size_t kRun = 300;

void BM_FillLinearGradient(benchmark::State& state) {
    std::vector<Pixel> run(kRun);
    for (auto _ : state) {
        talwyn::color::FillLinearGradient(0x2040FF, 0xFFC010, run);
        benchmark::DoNotOptimize(run.data());
    }
}
BENCHMARK(BM_FillLinearGradient);

void BM_FillHueStrip(benchmark::State& state) {
    std::vector<Pixel> run(kRun);
    for (auto _ : state) {
        talwyn::color::FillHueStrip(0.8, 0.9, run);
        benchmark::DoNotOptimize(run.data());
    }
}
BENCHMARK(BM_FillHueStrip);

void BM_FillSaturationRamp(benchmark::State& state) {
    std::vector<Pixel> run(kRun);
    for (auto _ : state) {
        talwyn::color::FillSaturationRamp(200.0, 0.9, run);
        benchmark::DoNotOptimize(run.data());
    }
}
BENCHMARK(BM_FillSaturationRamp);

void BM_FillValueRamp(benchmark::State& state) {
    std::vector<Pixel> run(kRun);
    for (auto _ : state) {
        talwyn::color::FillValueRamp(200.0, 0.8, run);
        benchmark::DoNotOptimize(run.data());
    }
}
BENCHMARK(BM_FillValueRamp);

} // namespace
