#include "profiles/profile_file.h"

namespace talwyn {

namespace {

constexpr int32_t kMacroEventBytes = 8;

void writeMacro(DataStream& stream, const MacroData& macro) {
    stream.writeInt32(macro.macroId);
    stream.writeString(macro.name);
    stream.writeInt32(static_cast<int32_t>(macro.events.size()));
    for (const CMacroEvent& event : macro.events) {
        stream.writeByte(event.type);
        stream.writeInt16(event.code);
        stream.writeByte(event.flag);
        stream.writeInt32(event.delay);
    }
}

// Reads into `macro` and replaces its events; the caller discards the whole
// record when the stream fails.
void readMacro(DataStream& stream, MacroData& macro) {
    macro.macroId = stream.readInt32();
    macro.name = stream.readString();
    const int32_t count = stream.readInt32();
    macro.events.clear();
    if (count <= 0)
        return;
    // Checked before reserving: a damaged count must not allocate more than
    // the file can hold.
    if (!stream.require(int64_t{count} * kMacroEventBytes))
        return;
    macro.events.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        CMacroEvent event;
        event.type = stream.readByte();
        event.code = stream.readInt16();
        event.flag = stream.readByte();
        event.delay = stream.readInt32();
        macro.events.push_back(event);
    }
}

void readFields(DataStream& stream, ProfileData& record) {
    record.name = stream.readString();
    record.enabled = stream.readInt32();
    record.reservedA = static_cast<uint16_t>(stream.readInt16());
    record.reportInterval = static_cast<uint16_t>(stream.readInt16());
    record.doubleClickSpeed = stream.readInt16();
    record.scrollLines = stream.readInt16();
    record.scrollByLine = stream.readInt32();
    record.scrollByPage = stream.readInt32();
    record.accelEnabled = stream.readInt32();
    record.dpiEntryFlag = stream.readInt32();
    record.reservedB = stream.readInt32();
    record.dpiLevelCount = stream.readByte();
    record.activeDpiLevel = stream.readByte();
    for (DpiLevel& level : record.dpi) {
        level.x = stream.readInt16();
        level.y = stream.readInt16();
    }
    record.pointerSpeed = stream.readByte();
    record.rippleOff = stream.readByte(); // stored as int16: the high byte is the sign extension
    stream.skip(1);
    record.angleSnapOff = stream.readByte();
    record.liftOff = stream.readInt32();
    record.surfaceQuality = stream.readInt16();
    record.lightColors[0] = static_cast<uint32_t>(stream.readTextInt());
    record.lightColors[1] = static_cast<uint32_t>(stream.readTextInt());
    record.lightBrightness = stream.readInt32();
    record.lightColors[2] = static_cast<uint32_t>(stream.readTextInt());
    record.lightColors[3] = static_cast<uint32_t>(stream.readTextInt());
    record.lightZones = stream.readInt32();
    record.lightEffect = stream.readInt32();
    record.reservedC = stream.readInt32();
    record.reservedD = stream.readInt32();
    record.reservedE = stream.readByte();
    record.pickerColor = stream.readTextInt();
    for (ButtonAssignment& button : record.buttons) {
        button.buttonIndex = stream.readByte();
        button.function = stream.readByte();
        button.param = stream.readInt16();
    }
    for (MacroData& macro : record.macros)
        readMacro(stream, macro);
}

} // namespace

std::string_view describe(ProfileLoad result) {
    switch (result) {
    case ProfileLoad::Loaded:
        return "loaded";
    case ProfileLoad::NotOpened:
        return "cannot open file";
    case ProfileLoad::WrongMagic:
        return "wrong magic, not a profile file";
    case ProfileLoad::Truncated:
        return "truncated or corrupt data";
    }
    return "unknown";
}

void writeProfile(DataStream& stream, const ProfileData& record) {
    stream.writeInt32(kProfileMagic);
    stream.writeString(record.name);
    stream.writeInt32(record.enabled);
    stream.writeInt16(static_cast<int16_t>(record.reservedA));
    stream.writeInt16(static_cast<int16_t>(record.reportInterval));
    stream.writeInt16(record.doubleClickSpeed);
    stream.writeInt16(record.scrollLines);
    stream.writeInt32(record.scrollByLine);
    stream.writeInt32(record.scrollByPage);
    stream.writeInt32(record.accelEnabled);
    stream.writeInt32(record.dpiEntryFlag);
    stream.writeInt32(record.reservedB);
    stream.writeByte(record.dpiLevelCount);
    stream.writeByte(record.activeDpiLevel);
    for (const DpiLevel& level : record.dpi) {
        stream.writeInt16(level.x);
        stream.writeInt16(level.y);
    }
    stream.writeByte(record.pointerSpeed);
    stream.writeInt16(static_cast<int8_t>(record.rippleOff));
    stream.writeByte(record.angleSnapOff);
    stream.writeInt32(record.liftOff);
    stream.writeInt16(record.surfaceQuality);
    stream.writeTextInt(static_cast<int32_t>(record.lightColors[0]));
    stream.writeTextInt(static_cast<int32_t>(record.lightColors[1]));
    stream.writeInt32(record.lightBrightness);
    stream.writeTextInt(static_cast<int32_t>(record.lightColors[2]));
    stream.writeTextInt(static_cast<int32_t>(record.lightColors[3]));
    stream.writeInt32(record.lightZones);
    stream.writeInt32(record.lightEffect);
    stream.writeInt32(record.reservedC);
    stream.writeInt32(record.reservedD);
    stream.writeByte(record.reservedE);
    stream.writeTextInt(record.pickerColor);
    for (const ButtonAssignment& button : record.buttons) {
        stream.writeByte(button.buttonIndex);
        stream.writeByte(button.function);
        stream.writeInt16(button.param);
    }
    for (const MacroData& macro : record.macros)
        writeMacro(stream, macro);
}

ProfileLoad readProfile(DataStream& stream, ProfileData& record) {
    const int32_t magic = stream.readInt32();
    if (stream.failed())
        return ProfileLoad::Truncated;
    if (magic != kProfileMagic)
        return ProfileLoad::WrongMagic;
    // Read into a fresh record, so a failure leaves `record` untouched without
    // copying its macros first; the fields the file does not hold are carried over.
    ProfileData loaded;
    readFields(stream, loaded);
    if (stream.failed())
        return ProfileLoad::Truncated;
    loaded.filePath = std::move(record.filePath);
    loaded.slotIndex = record.slotIndex;
    loaded.accelLevel = record.accelLevel;
    for (int i = 0; i < kButtonCount; ++i)
        loaded.buttons[i].defaultFunction = record.buttons[i].defaultFunction;
    record = std::move(loaded);
    return ProfileLoad::Loaded;
}

bool saveProfile(const std::filesystem::path& path, const ProfileData& record) {
    DataStream stream(DataStream::Purpose::Write);
    writeProfile(stream, record);
    return stream.saveFile(path);
}

ProfileLoad loadProfile(const std::filesystem::path& path, ProfileData& record) {
    DataStream stream;
    if (!stream.loadFile(path))
        return ProfileLoad::NotOpened;
    return readProfile(stream, record);
}

} // namespace talwyn
