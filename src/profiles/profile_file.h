#pragma once
// The *.profile file: exactly one ProfileData, item after item, behind a magic.

#include "profiles/data_stream.h"
#include "profiles/profile_data.h"

#include <filesystem>
#include <string_view>

namespace talwyn {

inline constexpr int32_t kProfileMagic = 0x01346411;

enum class ProfileLoad {
    Loaded,
    NotOpened,  // missing or unreadable file
    WrongMagic, // not a profile file
    Truncated,  // ends early, or a count or length exceeds the data
};

// A short reason for a load that did not succeed, e.g. "wrong magic".
std::string_view describe(ProfileLoad result);

// Appends the record in file layout. filePath, slotIndex, accelLevel and the
// buttons' defaultFunction are not part of the file.
void writeProfile(DataStream& stream, const ProfileData& record);

// Reads one record from the stream's read position. All or nothing: unless the
// result is Loaded, `record` is exactly as it was.
ProfileLoad readProfile(DataStream& stream, ProfileData& record);

bool saveProfile(const std::filesystem::path& path, const ProfileData& record);
ProfileLoad loadProfile(const std::filesystem::path& path, ProfileData& record);

} // namespace talwyn
