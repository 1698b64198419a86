#include "sim/library_protocol.h"

#include "protocol/commands.h"
#include "sim/factory_image.h"
#include "sim/firmware_image.h"

#include <algorithm>
#include <string>

namespace talwyn::sim {
namespace {

namespace off = protocol::image_offset;
namespace cmd = protocol::command;
using protocol::getLe16;
using protocol::putLe16;

constexpr std::size_t kPayload = protocol::kPayloadOffset;
constexpr std::size_t kEntrySize = protocol::kButtonSlotSize;
constexpr std::size_t kEventSize = protocol::kEventRecordSize;

// Colour slots of the image and where the block's colour triples go.
constexpr std::array<std::size_t, 4> kColourSlots{off::kColorA, off::kColorB, off::kColorC, off::kColorD};
constexpr std::array<std::size_t, 6> kEffectBytes{off::kColorA + 3, off::kColorD + 3, off::kColorB + 3,
                                                  off::kColorC + 3, off::kColorC + 7, off::kColorC + 11};

ReportReply status(uint8_t value, std::size_t length = protocol::kCommandReportSize) {
    return {makeStatusReply(value, length), {}, std::nullopt};
}
ReportReply done(std::size_t length = protocol::kCommandReportSize) {
    return status(protocol::kReplyDone, length);
}

// Acknowledged, then the mouse restarts as the other product.
ReportReply restartIn(Mode mode, std::size_t length) {
    ReportReply reply = done(length);
    reply.modeAfterStatusRead = mode;
    return reply;
}

ReportReply refuse(FirmwareContext& context, const std::string& why,
                   std::size_t length = protocol::kCommandReportSize) {
    context.note("library: " + why);
    return status(protocol::kReplyFailed, length);
}

// The slot (0..4) of profile byte 5, or nothing.
std::optional<std::size_t> slotOf(std::span<const uint8_t> report, std::size_t at = 5) {
    if (report[at] < 1 || report[at] > protocol::kProfileCount)
        return std::nullopt;
    return report[at] - 1u;
}

std::optional<std::size_t> buttonOf(uint8_t button) {
    if (button < 1 || button > protocol::kImageButtonCount)
        return std::nullopt;
    return button - 1u;
}

std::size_t buttonSlot(std::size_t button) {
    return off::kButtonSlots + kEntrySize * button;
}

ReportReply blockReply(std::span<const uint8_t> data) {
    std::vector<uint8_t> block(protocol::kBlockReportSize, 0);
    block[0] = protocol::kReportIdData;
    block[1] = protocol::kReplyDone;
    std::copy(data.begin(), data.end(), block.begin() + kPayload);
    return {makeStatusReply(protocol::kReplyDone), block, std::nullopt};
}

// Makes a slot active with the resolution level its image names (1-based).
void activate(FirmwareState& state, std::size_t slot) {
    const Image& image = state.images[slot];
    const int count = std::clamp<int>(image[off::kDpiLevelCount], 1, protocol::kImageDpiLevels);
    state.activeSlot = static_cast<uint8_t>(slot);
    state.activeDpiLevel = static_cast<uint8_t>(std::clamp(image[off::kActiveDpiLevel] - 1, 0, count - 1));
}

const char* stepName(FirmwareStep step) {
    switch (step) {
    case FirmwareStep::None:
        break;
    case FirmwareStep::EnterBootloader:
        return "bootloader entry";
    case FirmwareStep::StayInNormalMode:
        return "restart in bootloader mode";
    case FirmwareStep::StartTransfer:
        return "transfer announcement";
    case FirmwareStep::Block:
        return "firmware block";
    case FirmwareStep::FinishTransfer:
        return "end of the transfer";
    }
    return "nothing";
}

bool isOneOf(uint8_t value, std::initializer_list<uint8_t> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

} // namespace

ReportReply LibraryProtocol::handle(FirmwareContext& context, InterfaceRole role,
                                    std::span<const uint8_t> report) {
    if (report.size() < 2)
        return refuse(context, "report of " + std::to_string(report.size()) + " bytes");
    if (role == InterfaceRole::Bootloader || context.state().mode == Mode::Bootloader)
        return handleBootloader(context, report);
    return handleNormal(context, report);
}

ReportReply LibraryProtocol::handleNormal(FirmwareContext& context, std::span<const uint8_t> report) {
    const uint8_t id = report[0];
    const uint8_t command = report[1];
    if (id == protocol::kReportIdData) {
        if (command == cmd::kUploadButtonData)
            return handleUpload(context, report);
        return refuse(context, "unknown data report " + toHex(report.first(2)));
    }
    if (id != protocol::kReportIdCommand || report.size() != protocol::kCommandReportSize)
        return refuse(context, "command " + toHex(report.first(2)) + " of " + std::to_string(report.size()) +
                                   " bytes refused");
    FirmwareState& state = context.state();
    switch (command) {
    case cmd::kVersion: {
        ReportReply reply = done();
        putLe16(reply.status, kPayload, state.firmwareVersion);
        putLe16(reply.status, kPayload + 2, state.bootloaderVersion);
        return reply;
    }
    case cmd::kSensor:
        return handleSensor(context, report);
    case cmd::kLighting:
        return handleLighting(context, report);
    case cmd::kButton:
        return handleButton(context, report);
    case cmd::kProfile:
        return handleProfile(context, report);
    case cmd::kFactoryReset:
        for (std::size_t slot = 0; slot < protocol::kProfileCount; ++slot)
            resetProfile(state, slot);
        activate(state, 0);
        return done();
    case cmd::kReadButtonData:
        return readButtonData(context, report);
    case cmd::kEnterBootloader:
        if (!std::equal(cmd::kBootloaderAccessCode.begin(), cmd::kBootloaderAccessCode.end(),
                        report.begin() + 4))
            return refuse(context, "bootloader entry with a wrong access code");
        if (refusedByFault(context, FirmwareStep::EnterBootloader))
            return status(protocol::kReplyFailed);
        transfer_ = {};
        if (refusedByFault(context, FirmwareStep::StayInNormalMode))
            return done();
        return restartIn(Mode::Bootloader, protocol::kCommandReportSize);
    default:
        return refuse(context, "unknown command " + toHex(report.first(3)));
    }
}

ReportReply LibraryProtocol::handleSensor(FirmwareContext& context, std::span<const uint8_t> report) {
    const auto slot = slotOf(report);
    if (!slot)
        return refuse(context, "sensor command for profile " + std::to_string(report[5]));
    Image& image = context.state().images[*slot];
    ProfileExtras& extras = extras_[*slot];
    auto setDpi = [&](uint8_t first, uint8_t second, std::size_t valuesAt) {
        image[off::kActiveDpiLevel] = first;
        image[off::kDpiLevelCount] = second;
        for (std::size_t i = 0; i < protocol::kImageDpiLevels; ++i) {
            const uint16_t value = getLe16(report, valuesAt + 2 * i);
            putLe16(image, off::kDpiLevel[i] + 1, value);
            putLe16(image, off::kDpiLevel[i] + 3, value);
        }
        for (std::size_t i = 0; i < extras.upperDpi.size(); ++i)
            extras.upperDpi[i] = getLe16(report, valuesAt + 2 * (protocol::kImageDpiLevels + i));
    };
    const uint8_t value = report[6];
    switch (report[2]) {
    case 0x01:
        if (!isOneOf(value, {1, 2, 4, 8}))
            return refuse(context, "report-rate code " + std::to_string(value));
        image[off::kReportInterval] = value;
        return done();
    case 0x02:
        if (value < 2 || value > 12 || value % 2 != 0)
            return refuse(context, "response time " + std::to_string(value));
        extras.responseTime = value;
        return done();
    case 0x03:
    case 0x04:
        if (value > 1)
            return refuse(context, "on/off value " + std::to_string(value));
        if (report[2] == 0x03)
            image[off::kAngleSnapOff] = value ? 0 : 1;
        else
            image[off::kLiftOff] = value;
        return done();
    case 0x0A:
        setDpi(report[6], report[7], kPayload);
        return done();
    case 0x0F:
        if (!isOneOf(report[16], {1, 2, 4, 8}) || report[18] > 1 || report[19] > 1)
            return refuse(context, "sensor values " + toHex(report.subspan(16, 4)));
        image[off::kReportInterval] = report[16];
        extras.responseTime = report[17];
        image[off::kAngleSnapOff] = report[18] ? 0 : 1;
        image[off::kLiftOff] = report[19];
        setDpi(report[20], report[21], 22);
        return done();
    default:
        return refuse(context, "unknown sensor command " + toHex(report.first(3)));
    }
}

ReportReply LibraryProtocol::handleLighting(FirmwareContext& context, std::span<const uint8_t> report) {
    const auto slot = slotOf(report);
    if (!slot)
        return refuse(context, "lighting for profile " + std::to_string(report[5]));
    Image& image = context.state().images[*slot];
    ProfileExtras& extras = extras_[*slot];
    const auto colours = report.subspan(17, 24);
    for (std::size_t i = 0; i < kColourSlots.size(); ++i)
        std::copy_n(colours.begin() + 3 * i, 3, image.begin() + kColourSlots[i]);
    for (std::size_t copy = 1; copy < 3; ++copy)
        std::copy_n(colours.begin() + 6, 3, image.begin() + off::kColorC + 4 * copy);
    std::copy(colours.begin() + 12, colours.end(), extras.upperColors.begin());
    for (std::size_t at : kEffectBytes)
        image[at] = report[16];
    image[off::kBrightness] = report[41];
    extras.lightingFlag = report[42];
    extras.lightingStep = report[43];
    return done();
}

ReportReply LibraryProtocol::handleButton(FirmwareContext& context, std::span<const uint8_t> report) {
    const auto slot = slotOf(report);
    const auto button = buttonOf(report[6]);
    if (!slot || !button)
        return refuse(context,
                      "button " + std::to_string(report[6]) + " of profile " + std::to_string(report[5]));
    Image& image = context.state().images[*slot];
    auto entry = report.subspan(kPayload, kEntrySize);
    std::copy(entry.begin(), entry.end(), image.begin() + buttonSlot(*button));
    // Launch entries carry no tail; the image keeps its slot format.
    image[buttonSlot(*button) + 6] = 0x0F;
    return done();
}

ReportReply LibraryProtocol::handleUpload(FirmwareContext& context, std::span<const uint8_t> report) {
    if (report.size() != protocol::kBlockReportSize)
        return refuse(context, "data upload of " + std::to_string(report.size()) + " bytes");
    const auto slot = slotOf(report);
    const auto button = buttonOf(report[2]);
    if (!slot || !button)
        return refuse(context, "data upload for button " + std::to_string(report[2]) + " of profile " +
                                   std::to_string(report[5]));
    const auto data = report.subspan(kPayload, protocol::kDataBlockSize);
    if (protocol::checksum16(data) != getLe16(report, 7))
        return refuse(context, "data upload checksum " + toHex(report.subspan(7, 2)) + " does not match");
    std::copy(data.begin(), data.end(), context.state().buttonData[*slot][*button].begin());
    return done();
}

ReportReply LibraryProtocol::readButtonData(FirmwareContext& context, std::span<const uint8_t> report) {
    const auto slot = slotOf(report);
    const auto button = buttonOf(report[2]);
    if (!slot || !button)
        return refuse(context, "data read of button " + std::to_string(report[2]) + " of profile " +
                                   std::to_string(report[5]));
    const FirmwareState& state = context.state();
    const Image& image = state.images[*slot];
    const std::size_t at = buttonSlot(*button);
    const uint16_t offset = getLe16(image, at + 2);
    if (image[at] == protocol::kButtonKindMacro && offset >= off::kMacroArea &&
        offset < protocol::kProfileImageSize) {
        ButtonData data{};
        const std::size_t count = getLe16(image, at + 4);
        const std::size_t bytes =
            std::min({(count + 1) * kEventSize, protocol::kProfileImageSize - offset, data.size()});
        std::copy_n(image.begin() + offset, bytes, data.begin());
        return blockReply(data);
    }
    return blockReply(state.buttonData[*slot][*button]);
}

ReportReply LibraryProtocol::handleProfile(FirmwareContext& context, std::span<const uint8_t> report) {
    FirmwareState& state = context.state();
    const uint8_t sub = report[2];
    if (sub == 0x03 || sub == 0x09) {
        ReportReply reply = done();
        if (sub == 0x03) {
            reply.status[kPayload] = static_cast<uint8_t>(state.activeSlot + 1);
        } else {
            reply.status[kPayload] =
                static_cast<uint8_t>(std::count_if(state.images.begin(), state.images.end(),
                                                   [](const Image& image) { return image[off::kEnabled]; }));
        }
        return reply;
    }
    if (sub == 0x02) {
        if (report[5] < 1 || report[5] > protocol::kProfileCount + 1)
            return refuse(context, "sync of profile " + std::to_string(report[5]));
        context.note("library: sync profile " + std::to_string(report[5]));
        return done();
    }
    const auto slot = slotOf(report);
    if (!slot)
        return refuse(context, "profile command " + toHex(report.first(3)) + " for profile " +
                                   std::to_string(report[5]));
    switch (sub) {
    case 0x01:
        resetProfile(state, *slot);
        return done();
    case 0x04:
        activate(state, *slot);
        return done();
    case 0x05:
    case 0x06:
        state.images[*slot][off::kEnabled] = sub == 0x05 ? 1 : 0;
        return done();
    case 0x07:
        return blockReply(profileBlock(state, *slot));
    case 0x0A: {
        const auto target = slotOf(report, 6);
        if (!target)
            return refuse(context, "copy to profile " + std::to_string(report[6]));
        state.images[*target] = state.images[*slot];
        state.images[*target][off::kSlotIndex] = static_cast<uint8_t>(*target);
        state.buttonData[*target] = state.buttonData[*slot];
        extras_[*target] = extras_[*slot];
        return done();
    }
    default:
        return refuse(context, "unknown profile command " + toHex(report.first(3)));
    }
}

std::array<uint8_t, protocol::kDataBlockSize> LibraryProtocol::profileBlock(const FirmwareState& state,
                                                                            std::size_t slot) const {
    const Image& image = state.images[slot];
    const ProfileExtras& extras = extras_[slot];
    std::array<uint8_t, protocol::kDataBlockSize> block{};
    block[0] = static_cast<uint8_t>(slot + 1);
    block[1] = image[off::kReportInterval];
    block[2] = extras.responseTime;
    block[3] = image[off::kAngleSnapOff] ? 0 : 1;
    block[4] = image[off::kLiftOff];
    block[5] = image[off::kActiveDpiLevel];
    block[6] = image[off::kDpiLevelCount];
    for (std::size_t i = 0; i < protocol::kImageDpiLevels; ++i)
        putLe16(block, 7 + 2 * i, getLe16(image, off::kDpiLevel[i] + 1));
    for (std::size_t i = 0; i < extras.upperDpi.size(); ++i)
        putLe16(block, 7 + 2 * (protocol::kImageDpiLevels + i), extras.upperDpi[i]);
    block[31] = image[off::kColorA + 3];
    for (std::size_t i = 0; i < kColourSlots.size(); ++i)
        std::copy_n(image.begin() + kColourSlots[i], 3, block.begin() + 32 + 3 * i);
    std::copy(extras.upperColors.begin(), extras.upperColors.end(), block.begin() + 44);
    block[56] = image[off::kBrightness];
    block[57] = extras.lightingFlag;
    block[58] = extras.lightingStep;
    std::copy_n(image.begin() + off::kButtonSlots, kEntrySize * protocol::kImageButtonCount,
                block.begin() + 65);
    for (std::size_t button = 0; button < protocol::kImageButtonCount; ++button) {
        // The program stores a key's usage in the sub byte; the library
        // expects it in the value word.
        const auto entry = std::span(block).subspan(65 + kEntrySize * button, kEntrySize);
        if (entry[0] == protocol::kButtonKindKey && entry[1] != 0 && getLe16(entry, 2) == 0) {
            putLe16(entry, 2, entry[1]);
            entry[1] = 0;
        }
    }
    return block;
}

void LibraryProtocol::resetProfile(FirmwareState& state, std::size_t slot) {
    state.images[slot] = factoryImage(slot);
    state.buttonData[slot] = {};
    extras_[slot] = {};
}

ReportReply LibraryProtocol::handleBootloader(FirmwareContext& context, std::span<const uint8_t> report) {
    const uint8_t id = report[0];
    const uint8_t command = report[1];
    if (id == protocol::kReportIdData && command == cmd::kFirmwareBlock)
        return handleBlock(context, report);
    if (id == protocol::kReportIdCommand && command == cmd::kVersion &&
        report.size() == protocol::kCommandReportSize) {
        ReportReply reply = done();
        putLe16(reply.status, kPayload, context.state().firmwareVersion);
        putLe16(reply.status, kPayload + 2, context.state().bootloaderVersion);
        return reply;
    }
    if (id != protocol::kReportIdCommand || report.size() != protocol::kBlockReportSize)
        return refuse(context, "bootloader report " + toHex(report.first(2)) + " of " +
                                   std::to_string(report.size()) + " bytes");
    if (command == cmd::kStartTransfer) {
        if (refusedByFault(context, FirmwareStep::StartTransfer))
            return status(protocol::kReplyFailed, protocol::kBlockReportSize);
        transfer_ = {
            true, report[16], static_cast<uint32_t>(getLe16(report, 17) | (getLe16(report, 19) << 16)),
            0,    0,          std::nullopt};
        context.note("bootloader: transfer of " + std::to_string(transfer_.blockCount) + " blocks announced");
        return done(protocol::kBlockReportSize);
    }
    if (command == cmd::kFinishTransfer)
        return finishTransfer(context);
    return refuse(context, "unknown bootloader command " + toHex(report.first(2)),
                  protocol::kBlockReportSize);
}

ReportReply LibraryProtocol::handleBlock(FirmwareContext& context, std::span<const uint8_t> report) {
    if (report.size() != protocol::kBlockReportSize)
        return refuse(context, "firmware block of " + std::to_string(report.size()) + " bytes");
    if (!transfer_.announced)
        return refuse(context, "firmware block before the transfer was announced",
                      protocol::kBlockReportSize);
    const uint8_t expected = static_cast<uint8_t>(cmd::kFirstFirmwareBlock + transfer_.blocksReceived);
    if (report[2] != expected || transfer_.blocksReceived >= transfer_.blockCount)
        return refuse(context,
                      "firmware block index " + std::to_string(report[2]) + ", expected " +
                          std::to_string(expected),
                      protocol::kBlockReportSize);
    const auto data = report.subspan(kPayload, protocol::kDataBlockSize);
    if (protocol::checksum16(data) != getLe16(report, 3))
        return refuse(context, "firmware block checksum " + toHex(report.subspan(3, 2)) + " does not match",
                      protocol::kBlockReportSize);
    if (refusedByFault(context, FirmwareStep::Block))
        return status(protocol::kReplyFailed, protocol::kBlockReportSize);
    if (transfer_.blocksReceived == 0)
        transfer_.version = firmwareImageVersion(data);
    for (uint8_t b : data)
        transfer_.receivedSum += b;
    ++transfer_.blocksReceived;
    return done(protocol::kBlockReportSize);
}

ReportReply LibraryProtocol::finishTransfer(FirmwareContext& context) {
    const bool complete = transfer_.announced && transfer_.blocksReceived == transfer_.blockCount &&
                          transfer_.receivedSum == transfer_.checksum;
    if (!complete)
        return refuse(context,
                      "transfer incomplete: " + std::to_string(transfer_.blocksReceived) + " of " +
                          std::to_string(transfer_.blockCount) + " blocks, image checksum " +
                          std::to_string(transfer_.receivedSum) + " against " +
                          std::to_string(transfer_.checksum),
                      protocol::kBlockReportSize);
    if (refusedByFault(context, FirmwareStep::FinishTransfer))
        return status(protocol::kReplyFailed, protocol::kBlockReportSize);
    if (transfer_.version) {
        context.state().firmwareVersion = *transfer_.version;
        context.note("bootloader: firmware " +
                     toHex(std::array{static_cast<uint8_t>(*transfer_.version >> 8),
                                      static_cast<uint8_t>(*transfer_.version & 0xFF)}) +
                     " written, restarting in normal mode");
    } else {
        context.note(
            "bootloader: firmware without a version tag written, version kept, restarting in normal mode");
    }
    transfer_ = {};
    return restartIn(Mode::Normal, protocol::kBlockReportSize);
}

bool LibraryProtocol::refusedByFault(FirmwareContext& context, FirmwareStep step) {
    FirmwareFault& fault = context.state().faults.firmware;
    if (fault.step != step || fault.times <= 0 ||
        (step == FirmwareStep::Block && fault.block != transfer_.blocksReceived))
        return false;
    if (--fault.times == 0)
        fault = {};
    context.note("injected refusal of the " + std::string(stepName(step)));
    return true;
}

} // namespace talwyn::sim
