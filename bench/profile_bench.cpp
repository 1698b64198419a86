// bench-deps: talwyn_profiles
// Profile serialization to and from memory: a record carrying nine macros of
// 128 events each, the largest a profile gets in practice.

#include "profiles/profile_file.h"

#include <benchmark/benchmark.h>

namespace {

using talwyn::DataStream;
using talwyn::ProfileData;

ProfileData fullProfile() {
    ProfileData profile;
    for (int button = 0; button < talwyn::kButtonCount; ++button) {
        talwyn::MacroData& macro = profile.macros[button];
        macro.name = u"macro " + std::u16string(1, static_cast<char16_t>(u'1' + button));
        macro.macroId = 100 + button;
        for (int i = 0; i < 128; ++i)
            macro.events.push_back(
                {1, static_cast<int16_t>(0x41 + i % 26), static_cast<uint8_t>(i % 2), 10 * i});
    }
    return profile;
}

void BM_ProfileWrite(benchmark::State& state) {
    const ProfileData profile = fullProfile();
    for (auto _ : state) {
        DataStream stream(DataStream::Purpose::Write);
        talwyn::writeProfile(stream, profile);
        benchmark::DoNotOptimize(stream.bytes().data());
    }
}
BENCHMARK(BM_ProfileWrite);

void BM_ProfileRead(benchmark::State& state) {
    DataStream written(DataStream::Purpose::Write);
    talwyn::writeProfile(written, fullProfile());
    ProfileData target;
    DataStream stream;
    for (auto _ : state) {
        stream.loadBytes(written.bytes());
        benchmark::DoNotOptimize(talwyn::readProfile(stream, target));
    }
    state.SetBytesProcessed(state.iterations() * written.length());
}
BENCHMARK(BM_ProfileRead);

void BM_ProfileRoundTrip(benchmark::State& state) {
    const ProfileData profile = fullProfile();
    ProfileData target;
    for (auto _ : state) {
        DataStream out(DataStream::Purpose::Write);
        talwyn::writeProfile(out, profile);
        DataStream in;
        in.loadBytes(out.bytes());
        benchmark::DoNotOptimize(talwyn::readProfile(in, target));
    }
}
BENCHMARK(BM_ProfileRoundTrip);

} // namespace
