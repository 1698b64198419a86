#pragma once
// The five on-board slots mirrored as records tied to their slot files, the
// current and the applied slot, and the per-slot commands that need no dialog.

#include "profiles/profile_data.h"
#include "profiles/profile_file.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace talwyn {

// Filter of the export and import dialogs.
inline constexpr std::string_view kProfileDialogFilter = "Mouse Profile(*.profile)|*.profile||";

class ProfileSet {
public:
    static constexpr int kSlotCount = 5;
    static constexpr size_t kMaxNameLength = 15;

    // Slots are indexed 0 to 4 (slot N is index N - 1), like slotIndex.
    static std::filesystem::path slotFilePath(int index);
    static std::u16string defaultSlotName(int index);
    // Where export and import dialogs start: the "Profiles" folder beside the
    // program.
    static std::filesystem::path exchangeFolder();
    // The export rule: a chosen name whose extension is exactly "profile" is
    // kept, any other gets ".profile" appended.
    static std::filesystem::path exportTarget(const std::filesystem::path& chosen);

    // Five default records named "Profile1" to "Profile5", tied to their
    // slot files; no file is read.
    ProfileSet();

    // Fresh records tied to their slot files, each loaded from its file when
    // that holds a profile; slot 1 becomes current and applied.
    void createSlots();

    ProfileData& slot(int index) { return slots_.at(static_cast<size_t>(index)); }
    const ProfileData& slot(int index) const { return slots_.at(static_cast<size_t>(index)); }

    int currentIndex() const { return current_; }
    ProfileData& current() { return slot(current_); }
    const ProfileData& current() const { return slot(current_); }
    // The caller stores its pages into current() first.
    void selectSlot(int index);

    int appliedIndex() const { return applied_; }
    const ProfileData& applied() const { return slot(applied_); }
    void setApplied(int index);

    // "Save current settings": the record as it is in memory to its slot file.
    bool saveSlot(int index) const;
    // Initial file name of the export dialog.
    std::filesystem::path suggestedExportPath(int index) const;
    // Saves to exportTarget(chosen), overwriting without asking.
    bool exportSlot(int index, const std::filesystem::path& chosen) const;
    // Loads the file into the slot, name and enabled flag included; anything
    // but Loaded leaves the slot unchanged. The slot file is not written.
    ProfileLoad importSlot(int index, const std::filesystem::path& from);
    void toggleEnabled(int index);
    // Keeps the first 15 characters of `name`; an empty name stays empty.
    void rename(int index, std::u16string_view name);

    // Every slot back to its defaults with its slot name, enabled; slot 1
    // becomes current. Files are written by the following apply (saveAll).
    void resetAll();
    // Saves slot 1 to 5 in order, each to its own file; false when any failed.
    bool saveAll() const;

private:
    void initialiseSlot(int index);

    std::array<ProfileData, kSlotCount> slots_;
    int current_ = 0;
    int applied_ = 0;
};

} // namespace talwyn
