#pragma once
// The library over an in-process simulated mouse, with recorded pauses and
// helpers that read the exact reports back from the mouse's wire log.

#include "devlib/library_state.h"
#include "sim/sim_backend.h"
#include "sim/sim_mouse.h"
#include "support/recording_sleeper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <vector>

namespace talwyn::devlib::testing {

// Hex of a report: `head` followed by zeros up to `length` bytes.
inline std::string report(std::initializer_list<uint8_t> head,
                          std::size_t length = protocol::kCommandReportSize) {
    std::vector<uint8_t> bytes(head);
    bytes.resize(length, 0);
    return sim::toHex(bytes);
}

inline std::string hexOf(std::span<const uint8_t> bytes) {
    return sim::toHex(bytes);
}

class SimLibraryTest : public ::testing::Test {
protected:
    explicit SimLibraryTest(sim::SimOptions options = {}) : mouse(options) {}

    // Hex of every report written to the mouse, in order.
    std::vector<std::string> sentReports() const { return linesAfter("set_feature "); }
    // Lines of the wire log starting with `kind` ("set_feature ", "note "...),
    // without the kind and the interface path.
    std::vector<std::string> linesAfter(const std::string& kind) const {
        std::vector<std::string> out;
        for (const std::string& line : mouse.wireLog()) {
            if (line.rfind(kind, 0) != 0)
                continue;
            const auto rest = line.substr(kind.size());
            const auto space = rest.rfind(' ');
            out.push_back(kind == "note " || space == std::string::npos ? rest : rest.substr(space + 1));
        }
        return out;
    }
    std::vector<std::string> notes() const { return linesAfter("note "); }
    std::vector<std::chrono::milliseconds> pauses() const { return sleeper.pauses; }

    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    hid::RecordingSleeper sleeper;
    hid::RecordingSleeper readerSleeper;
    BackendInputSource input{backend};
    LibraryState library{{backend, sleeper, readerSleeper, input,
                          [this] { return std::make_unique<sim::SimMouseMonitor>(mouse); }}};
};

} // namespace talwyn::devlib::testing
