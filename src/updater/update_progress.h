#pragma once
// Turns the library's progress reports of one update into what the window
// shows: a percentage, the step in words, and at the end either the new
// version or the failure in words with what to do next.

#include "talwyn_pro_dll.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace talwyn::updater {

// A failure for the user: what happened and what to do next.
struct FailureText {
    QString what;
    QString next;
};

// The failure behind an error status; `failedBlock` (1-based) and
// `blockCount` name the block for a block failure.
FailureText failureText(uint8_t status, int failedBlock, int blockCount);
// When the mouse stopped answering without a last report.
FailureText silentMouseText();

class UpdateProgress {
public:
    enum class Outcome { Running, Succeeded, Failed };

    explicit UpdateProgress(int blockCount) : blockCount_(blockCount) {}

    void take(uint8_t status, uint32_t value);

    Outcome outcome() const { return outcome_; }
    int percent() const { return percent_; }
    QString stepText() const;
    // The version number the mouse reported after the update (105 for 1.05).
    std::optional<int> newVersion() const { return newVersion_; }
    // Only when failed.
    FailureText failure() const;

private:
    enum class Step { Searching, BootloaderFound, Writing, Finishing, Returning, Ended };

    int blockCount_;
    int blocksWritten_ = 0;
    Step step_ = Step::Searching;
    Outcome outcome_ = Outcome::Running;
    int percent_ = 0;
    uint8_t errorStatus_ = 0;
    std::optional<int> newVersion_;
};

} // namespace talwyn::updater
