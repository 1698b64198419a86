#pragma once
// Shared by the fuzz targets: a cursor over the fuzzer's bytes and a scratch
// file for readers that only take paths.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace talwyn::fuzz {

class FuzzBytes {
public:
    explicit FuzzBytes(std::span<const uint8_t> data) : data_(data) {}
    bool empty() const { return data_.empty(); }
    uint8_t byte() {
        if (data_.empty())
            return 0;
        const uint8_t b = data_.front();
        data_ = data_.subspan(1);
        return b;
    }
    // Up to `count` bytes; fewer when the input ends.
    std::span<const uint8_t> take(std::size_t count) {
        const auto taken = data_.first(std::min(count, data_.size()));
        data_ = data_.subspan(taken.size());
        return taken;
    }
    std::span<const uint8_t> rest() { return take(data_.size()); }

private:
    std::span<const uint8_t> data_;
};

// A folder of this process's own, kept for the whole run.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        const auto base =
            std::filesystem::temp_directory_path() / ("talwyn-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(base);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return base;
    }();
    return folder;
}

inline void writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace talwyn::fuzz
