#include "macros/macro_files.h"

#include "macros/macro_file_names.h"
#include "profiles/data_stream.h"
#include "profiles/file_system.h"
#include "profiles/utf16.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>

namespace talwyn {
namespace fs = std::filesystem;

namespace {

// type, code, flag, delay, rowRect, selected, eventId.
constexpr int32_t kEventRecordBytes = 1 + 2 + 1 + 4 + 16 + 4 + 4;
constexpr size_t kMinimumFolderLength = 4;

std::array<int32_t, 4> toArray(const MacroRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
MacroRect toRect(const std::array<int32_t, 4>& a) {
    return {a[0], a[1], a[2], a[3]};
}

void encodeMacro(DataStream& out, const CMacro& macro) {
    out.writeString(macro.name);
    out.writeInt32(macro.macroId);
    out.writeFourInt32(toArray(macro.viewRect));
    out.writeInt32(static_cast<int32_t>(macro.events.size()));
    for (const CEventItem& event : macro.events) {
        out.writeByte(event.type);
        out.writeInt16(event.code);
        out.writeByte(event.flag);
        out.writeInt32(event.delay);
        out.writeFourInt32(toArray(event.rowRect));
        out.writeInt32(event.selected);
        out.writeInt32(event.eventId);
    }
}

std::optional<CMacro> decodeMacro(DataStream& in) {
    CMacro macro;
    macro.name = in.readString();
    macro.macroId = in.readInt32();
    macro.viewRect = toRect(in.readFourInt32());
    const int32_t count = in.readInt32();
    // A count of 0 or less means no events; a larger one than the data can
    // hold means damage, caught before anything is allocated for it.
    if (in.failed() || count > in.remaining() / kEventRecordBytes)
        return std::nullopt;
    macro.events.resize(static_cast<size_t>(std::max(count, 0)));
    for (CEventItem& event : macro.events) {
        event.type = in.readByte();
        event.code = in.readInt16();
        event.flag = in.readByte();
        event.delay = in.readInt32();
        event.rowRect = toRect(in.readFourInt32());
        event.selected = in.readInt32();
        event.eventId = in.readInt32();
    }
    if (in.failed())
        return std::nullopt;
    return macro;
}

// The file-name part of a listed path, whichever platform wrote it.
std::u16string listedFileName(std::u16string_view listed) {
    const size_t cut = listed.find_last_of(u"/\\");
    return std::u16string(cut == std::u16string_view::npos ? listed : listed.substr(cut + 1));
}

bool isMacroFileName(const fs::path& name) {
    return name.extension() == ".macro";
}

// Reads the listed names as far as the list goes; false when it ends before
// the count it announces.
bool readList(DataStream& list, std::vector<std::u16string>& names) {
    // Each listed path takes at least its 4-byte length, so a huge count
    // fails at the end of the data instead of allocating for it.
    const int32_t count = list.readInt32();
    for (int32_t i = 0; i < count && !list.failed(); ++i) {
        std::u16string name = listedFileName(list.readString());
        if (!list.failed())
            names.push_back(std::move(name));
    }
    return !list.failed();
}

} // namespace

fs::path macroFolder() {
    return appDataFolder() / "Orvane" / "TALWYN" / "Macros";
}

std::string_view describe(MacroFileStatus status) {
    switch (status) {
    case MacroFileStatus::Ok:
        return "ok";
    case MacroFileStatus::Unreadable:
        return "missing or unreadable";
    case MacroFileStatus::Truncated:
        return "truncated or damaged data";
    }
    return "unknown";
}

bool writeMacroFile(const CMacro& macro, const fs::path& path) {
    DataStream out(DataStream::Purpose::Write);
    encodeMacro(out, macro);
    return out.saveFile(path);
}

MacroFileStatus readMacroFile(CMacro& macro, const fs::path& path) {
    DataStream in;
    if (!in.loadFile(path))
        return MacroFileStatus::Unreadable;
    std::optional<CMacro> read = decodeMacro(in);
    if (!read)
        return MacroFileStatus::Truncated;
    macro = std::move(*read);
    return MacroFileStatus::Ok;
}

MacroFolder::MacroFolder(fs::path folder) : folder_(std::move(folder)) {}

bool MacroFolder::save(MacroLibrary& library) {
    if (fromPath(folder_).size() < kMinimumFolderLength)
        return false;
    std::error_code ec;
    const fs::path base = fs::absolute(folder_, ec);
    if (ec)
        return false;

    MacroFileNamer namer;
    for (const fs::directory_entry& entry : fs::directory_iterator(base, ec)) {
        const fs::path name = entry.path().filename();
        if (isMacroFileName(name) && !owned_.contains(name))
            namer.reserve(fromPath(name.stem()));
    }
    DataStream list(DataStream::Purpose::Write);
    list.writeInt32(static_cast<int32_t>(library.size()));
    std::set<fs::path> written;
    for (size_t i = 0; i < library.size(); ++i) {
        CMacro& macro = library.at(i);
        const fs::path fileName = toPath(namer.fileNameFor(macro));
        if (!writeMacroFile(macro, base / fileName))
            return false;
        list.writeString(fromPath(base / fileName));
        written.insert(fileName);
    }
    if (!list.saveFile(base / kMacroListFileName))
        return false;
    // Only now that the new library is complete do the old files go, and
    // only those that held its macros.
    std::set<fs::path> stillOwned = written;
    for (const fs::path& name : owned_) {
        if (!written.contains(name) && !fs::remove(base / name, ec) && ec)
            stillOwned.insert(name); // still there: still ours to remove next time
    }
    owned_ = std::move(stillOwned);
    return true;
}

MacroLoadReport MacroFolder::load(MacroLibrary& library) {
    MacroLoadReport report;
    DataStream list;
    if (!list.loadFile(folder_ / kMacroListFileName)) {
        report.list = MacroFileStatus::Unreadable;
        return report;
    }
    std::vector<std::u16string> listed;
    if (!readList(list, listed))
        report.list = MacroFileStatus::Truncated;

    std::vector<fs::path> files;
    for (const std::u16string& name : listed)
        files.push_back(toPath(name));
    if (report.list == MacroFileStatus::Truncated) {
        // The entries after the damage are lost; their files are not.
        const std::set<fs::path> known(files.begin(), files.end());
        for (const fs::path& name : unlistedMacroFiles(known))
            files.push_back(name);
    }

    std::vector<CMacro> loaded;
    owned_.clear();
    for (const fs::path& name : files) {
        // A file listed twice (by two spellings of its path) holds one macro,
        // not two with the same identifier.
        if (owned_.contains(name))
            continue;
        CMacro macro;
        // The list itself is never a macro: a save would remove it as one.
        const bool plainName = !name.empty() && name != "." && name != ".." && name != kMacroListFileName;
        const MacroFileStatus status =
            plainName ? readMacroFile(macro, folder_ / name) : MacroFileStatus::Unreadable;
        if (status == MacroFileStatus::Ok) {
            loaded.push_back(std::move(macro));
            owned_.insert(name);
        } else {
            report.skipped.push_back({folder_ / name, status});
        }
    }
    library.clear();
    for (CMacro& macro : loaded)
        library.append(std::move(macro));
    return report;
}

std::vector<fs::path> MacroFolder::unlistedMacroFiles(const std::set<fs::path>& listed) const {
    std::vector<fs::path> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_, ec)) {
        const fs::path name = entry.path().filename();
        if (isMacroFileName(name) && !listed.contains(name) && entry.is_regular_file(ec))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace talwyn
