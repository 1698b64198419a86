#include "macros/macro_files.h"

#include "macros/macro_file_names.h"
#include "profiles/data_stream.h"
#include "profiles/file_system.h"
#include "profiles/utf16.h"

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

void removeAllBut(const fs::path& folder, const std::set<fs::path>& keep) {
    // Collected first: removing entries while the folder is being read may
    // make the listing skip some.
    std::error_code ec;
    std::vector<fs::path> stale;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
        if (!keep.contains(entry.path().filename()))
            stale.push_back(entry.path());
    for (const fs::path& path : stale)
        fs::remove_all(path, ec);
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

bool saveMacros(MacroLibrary& library, const fs::path& folder) {
    if (fromPath(folder).size() < kMinimumFolderLength)
        return false;
    std::error_code ec;
    const fs::path base = fs::absolute(folder, ec);
    if (ec)
        return false;

    MacroFileNamer namer;
    DataStream list(DataStream::Purpose::Write);
    list.writeInt32(static_cast<int32_t>(library.size()));
    const fs::path listName{std::string(kMacroListFileName)};
    std::set<fs::path> written{listName};
    for (size_t i = 0; i < library.size(); ++i) {
        CMacro& macro = library.at(i);
        const fs::path fileName = toPath(namer.fileNameFor(macro));
        if (!writeMacroFile(macro, base / fileName))
            return false;
        list.writeString(fromPath(base / fileName));
        written.insert(fileName);
    }
    if (!list.saveFile(base / listName))
        return false;
    // Only now that the new library is complete do the old files go.
    removeAllBut(base, written);
    return true;
}

MacroLoadReport loadMacros(MacroLibrary& library, const fs::path& folder) {
    MacroLoadReport report;
    DataStream list;
    if (!list.loadFile(folder / kMacroListFileName)) {
        report.list = MacroFileStatus::Unreadable;
        return report;
    }
    // Each listed path takes at least its 4-byte length, so a huge count
    // fails at the end of the data instead of allocating for it.
    const int32_t count = list.readInt32();
    std::vector<std::u16string> listed;
    for (int32_t i = 0; i < count && !list.failed(); ++i)
        listed.push_back(listedFileName(list.readString()));
    if (list.failed()) {
        report.list = MacroFileStatus::Truncated;
        return report;
    }

    std::vector<CMacro> loaded;
    for (const std::u16string& name : listed) {
        const fs::path path = folder / toPath(name);
        CMacro macro;
        const MacroFileStatus status = name.empty() || name == u"." || name == u".."
                                           ? MacroFileStatus::Unreadable
                                           : readMacroFile(macro, path);
        if (status == MacroFileStatus::Ok)
            loaded.push_back(std::move(macro));
        else
            report.skipped.push_back({path, status});
    }
    library.clear();
    for (CMacro& macro : loaded)
        library.append(std::move(macro));
    return report;
}

} // namespace talwyn
