#pragma once
// The simulated Talwyn PRO: one firmware state machine behind both report
// protocols (the program's and the library's), with the interfaces the mouse
// exposes, fault injection, input reports, plug/unplug and a wire log.
//
// Host side: enumerate / open / setFeature / getFeature / readInput, the calls
// a HID backend makes. Control side: plug, unplug, button presses, faults.
// Every public call is thread-safe.
//
// How a feature exchange works: a set-feature report is handled at once and
// leaves a pending reply; the next get-feature read of report 0xA1 returns the
// pending status reply, one of report 0xA0 the pending block reply (both
// zero-padded or cut to the length the host asks for).
//
// Stored images: five 2048-byte images in the layout of protocol/profile_image.h
// (the program's own upload writes them verbatim). Data shared with the
// library protocol lives in the image itself wherever the image has a place
// for it: button i (0..5) has its 7-byte device entry at
// protocol::image_offset::kButtonSlots + 7 * i (kind, value, word, word, 0x0F); a launch button
// (kind 0x23 program, 0x24 browser) keeps its data length in the first word,
// and its data bytes in FirmwareState::buttonData. `press launch` reads exactly
// these fields.

#include "hid/hid_backend.h"
#include "protocol/device_ids.h"
#include "protocol/profile_image.h"
#include "protocol/reports.h"
#include "sim/factory_image.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace talwyn::sim {

enum class Mode { Normal, Bootloader };

// The HID top-level collections the mouse exposes.
enum class InterfaceRole {
    Events,        // MI_00, delivers the 9-byte input reports (first in enumeration)
    Configuration, // usage page 0xFF01, usage 2: every feature report
    SecondVendor,  // usage page 0xFF02, usage 1
    Bootloader,    // product 0x1328, usage page 0xFF01, usage 2
};

using ButtonData = std::array<uint8_t, protocol::kDataBlockSize>;
using InputReport = std::array<uint8_t, protocol::kInputReportSize>;

// Steps of a firmware update the mouse can be made to refuse.
enum class FirmwareStep {
    None,
    EnterBootloader,  // the entry command is answered with status 2
    StayInNormalMode, // the entry is acknowledged, but the mouse does not restart
    StartTransfer,    // the announcement is answered with status 2
    Block,            // one block is answered with status 2
    FinishTransfer,   // the end of the transfer is answered with status 2
};

struct FirmwareFault {
    FirmwareStep step = FirmwareStep::None;
    int block = 0; // 0-based, for FirmwareStep::Block
    int times = 0; // attempts at the step still refused
};

struct FaultPlan {
    int busyReplies = 0;       // the next N status reads answer busy (status 3)
    int retryableFailures = 0; // the next N transfers fail, retryable
    int fatalFailures = 0;     // the next N transfers fail, fatal
    FirmwareFault firmware;
};

// The firmware's whole state; one coherent value behind both protocols.
struct FirmwareState {
    std::array<Image, protocol::kProfileCount> images{};
    // Data blocks the library uploads for macro/shortcut/launch buttons,
    // [profile 0..4][button 0..5].
    std::array<std::array<ButtonData, protocol::kImageButtonCount>, protocol::kProfileCount> buttonData{};
    uint8_t activeSlot = 0;     // 0..4
    uint8_t activeDpiLevel = 0; // index into the active profile's levels
    Mode mode = Mode::Normal;
    uint16_t firmwareVersion = 0x0105;
    uint16_t bootloaderVersion = 0x0100;
    uint8_t surfaceValue = 60;
    bool present = true;
    FaultPlan faults;
};

struct SimOptions {
    uint16_t firmwareVersion = 0x0105;
    uint16_t bootloaderVersion = 0x0100;
    bool present = true;
};

enum class LogStamps { None, Monotonic };

// What one handled set-feature report leaves for the host to read back.
// An empty vector keeps the current pending reply of that report ID.
struct ReportReply {
    std::vector<uint8_t> status; // served to get-feature of report 0xA1
    std::vector<uint8_t> block;  // served to get-feature of report 0xA0
    // The mouse re-enumerates in this mode once the host has read the status
    // reply, as a real mouse answers before it restarts.
    std::optional<Mode> modeAfterStatusRead;
};

// A status reply: report 0xA1, the status byte, `length` bytes in all.
std::vector<uint8_t> makeStatusReply(uint8_t status, std::size_t length = protocol::kCommandReportSize);

// What a protocol handler may touch while it handles one report. Calls are
// made with the mouse's lock held; the context must not be kept.
class FirmwareContext {
public:
    virtual FirmwareState& state() = 0;
    // A `note <text>` line in the wire log.
    virtual void note(const std::string& text) = 0;
    // Re-enumerates the mouse as the other product: the current interfaces go
    // away (removal notices, open handles die), the new ones arrive.
    virtual void switchMode(Mode mode) = 0;
    virtual void queueInputReport(const InputReport& report) = 0;

protected:
    ~FirmwareContext() = default;
};

// An open interface of the simulated mouse.
struct SimHandle {
    std::string path;
    InterfaceRole role = InterfaceRole::Configuration;
    uint64_t generation = 0; // a handle dies when the mouse re-enumerates
};

struct SimInterface {
    InterfaceRole role;
    hid::DeviceInfo info;
};

class LibraryProtocol;

class SimMouse {
public:
    explicit SimMouse(SimOptions options = {});
    ~SimMouse();
    SimMouse(const SimMouse&) = delete;
    SimMouse& operator=(const SimMouse&) = delete;

    // Host side -------------------------------------------------------------
    std::vector<hid::DeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) const;
    std::optional<SimHandle> open(const std::string& path, hid::Result* error = nullptr);
    hid::Result setFeature(const SimHandle& handle, std::span<const uint8_t> report);
    hid::Result getFeature(const SimHandle& handle, std::span<uint8_t> buffer);
    // Waits up to timeoutMs (-1: until a report comes or shutdown()) on the
    // event interface; other interfaces never deliver input.
    hid::Result readInput(const SimHandle& handle, std::span<uint8_t> buffer, int timeoutMs,
                          std::stop_token stop = {});

    // Control side ----------------------------------------------------------
    void plug();
    void unplug();
    // Steps to the next resolution level of the active profile and sends
    // 03 02 <level index> 00 ...
    void pressDpi();
    // Sends input report 35/36 for a button (1..6) set to launch a program or
    // a browser; false with a reason when the button is not such a button.
    bool pressLaunch(int button, std::string* reason);
    // Queues one raw input report on the event interface (tests of report handling).
    void sendInput(const InputReport& report);
    void setSurfaceValue(uint8_t value);
    void injectBusy(int count);
    void injectFailures(hid::ErrorClass errorClass, int count);
    // Replaces the pending firmware fault (step None clears it).
    void injectFirmwareFault(FirmwareFault fault);
    // Sends one device-interface notice with exactly this path.
    void notify(hid::DeviceChange change, const std::string& path);

    FirmwareState snapshot() const;
    // The interfaces the mouse currently exposes (none when unplugged).
    std::vector<SimInterface> interfaces() const;

    // Wire log: every line is kept in memory and, with a log file, appended
    // and flushed at once. With LogStamps::Monotonic each line in the file
    // starts with the moment it was logged, in microseconds of the monotonic
    // clock, so a run can be timed against other processes.
    std::vector<std::string> wireLog() const;
    void clearWireLog();
    bool setLogFile(const std::filesystem::path& file, LogStamps stamps = LogStamps::None);

    // Device-interface notices, numbered from 1. Waits until a notice newer
    // than `after` exists (returned), the timeout passes or shutdown().
    std::optional<std::pair<uint64_t, hid::DeviceNotice>> waitNotice(uint64_t after, int timeoutMs,
                                                                     std::stop_token stop = {});
    uint64_t lastNoticeSequence() const;

    // Wakes every blocked reader and waiter; later waits return at once.
    void shutdown();

private:
    class Context;
    friend class Context;

    bool handleIsLive(const SimHandle& handle) const;
    hid::Result injectedFailure(const std::string& what, const SimHandle& handle);
    void handleReport(const SimHandle& handle, std::span<const uint8_t> report);
    bool handleProgramReport(std::span<const uint8_t> report);
    void activateSlot(uint8_t slot);
    void log(const std::string& line);
    void noteLocked(const std::string& text);
    void reenumerate(Mode mode, bool present);
    void postNotice(hid::DeviceChange change, const std::string& path);
    void queueInput(const InputReport& report);

    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    FirmwareState state_;
    uint64_t generation_ = 1;
    std::vector<uint8_t> pendingStatus_;
    std::vector<uint8_t> pendingBlock_;
    std::optional<Mode> pendingMode_;
    std::deque<InputReport> inputQueue_;
    std::vector<std::pair<uint64_t, hid::DeviceNotice>> notices_;
    uint64_t noticeSequence_ = 0;
    std::vector<std::string> wireLog_;
    std::ofstream logFile_;
    LogStamps logStamps_ = LogStamps::None;
    bool shutdown_ = false;
    std::unique_ptr<LibraryProtocol> library_;
};

// The interfaces a present mouse in the state's mode exposes, with
// Windows-style paths; the release number is the running firmware's version.
std::vector<SimInterface> interfacesFor(const FirmwareState& state);

// Lower-case hex without separators, as the wire log writes bytes.
std::string toHex(std::span<const uint8_t> bytes);

} // namespace talwyn::sim
