#include "profiles/profile_set.h"

#include "profiles/file_system.h"
#include "profiles/utf16.h"

#include <stdexcept>

namespace talwyn {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kProfileExtension = "profile";

void checkIndex(int index) {
    if (index < 0 || index >= ProfileSet::kSlotCount)
        throw std::out_of_range("profile slot index");
}

// A name from a file may hold separators or control characters; the
// suggested export name must stay a single file in the exchange folder.
std::u16string safeFileStem(std::u16string_view name) {
    std::u16string stem(name);
    for (char16_t& unit : stem) {
        if (unit == u'/' || unit == u'\\' || unit < 0x20)
            unit = u'_';
    }
    return stem;
}

} // namespace

fs::path ProfileSet::slotFilePath(int index) {
    checkIndex(index);
    return appDataFolder() / "Orvane" / "Talwyn PRO Software" / "Profiles" /
           ("Default" + std::to_string(index + 1) + ".profile");
}

std::u16string ProfileSet::defaultSlotName(int index) {
    checkIndex(index);
    return u"Profile" + std::u16string(1, static_cast<char16_t>(u'1' + index));
}

fs::path ProfileSet::exchangeFolder() {
    return programFolder() / "Profiles";
}

fs::path ProfileSet::exportTarget(const fs::path& chosen) {
    const std::string name = chosen.filename().native();
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && std::string_view(name).substr(dot + 1) == kProfileExtension)
        return chosen;
    fs::path target = chosen;
    target += ".";
    target += kProfileExtension;
    return target;
}

ProfileSet::ProfileSet() {
    for (int index = 0; index < kSlotCount; ++index)
        initialiseSlot(index);
}

void ProfileSet::initialiseSlot(int index) {
    ProfileData& record = slot(index);
    record.slotIndex = static_cast<uint8_t>(index);
    record.name = defaultSlotName(index);
    record.filePath = slotFilePath(index);
}

void ProfileSet::createSlots() {
    for (int index = 0; index < kSlotCount; ++index) {
        ProfileData& record = slot(index);
        record = ProfileData{};
        initialiseSlot(index);
        // A missing or foreign file leaves the defaults.
        loadProfile(slotFilePath(index), record);
    }
    current_ = 0;
    applied_ = 0;
}

void ProfileSet::selectSlot(int index) {
    checkIndex(index);
    current_ = index;
}

void ProfileSet::setApplied(int index) {
    checkIndex(index);
    applied_ = index;
}

bool ProfileSet::saveSlot(int index) const {
    const ProfileData& record = slot(index);
    return !record.filePath.empty() && saveProfile(record.filePath, record);
}

fs::path ProfileSet::suggestedExportPath(int index) const {
    return exchangeFolder() / toPath(safeFileStem(slot(index).name) + u".profile");
}

bool ProfileSet::exportSlot(int index, const fs::path& chosen) const {
    return saveProfile(exportTarget(chosen), slot(index));
}

ProfileLoad ProfileSet::importSlot(int index, const fs::path& from) {
    return loadProfile(from, slot(index));
}

void ProfileSet::toggleEnabled(int index) {
    ProfileData& record = slot(index);
    record.enabled = record.enabled != 0 ? 0 : 1;
}

void ProfileSet::rename(int index, std::u16string_view name) {
    slot(index).name = truncateUnits(name, kMaxNameLength);
}

void ProfileSet::resetAll() {
    for (int index = 0; index < kSlotCount; ++index) {
        ProfileData& record = slot(index);
        record.resetToDefaults();
        initialiseSlot(index);
        record.enabled = 1;
    }
    current_ = 0;
}

bool ProfileSet::saveAll() const {
    bool allSaved = true;
    for (int index = 0; index < kSlotCount; ++index)
        allSaved = saveSlot(index) && allSaved;
    return allSaved;
}

} // namespace talwyn
