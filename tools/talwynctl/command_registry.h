#pragma once
// Each command family lives in its own *_commands.cpp and registers itself
// here, so families can be added without touching main.cpp.

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace talwynctl {

using CommandAdder = std::function<void(CLI::App& app)>;

std::vector<CommandAdder>& commandAdders();

struct CommandRegistrar {
    explicit CommandRegistrar(CommandAdder adder) { commandAdders().push_back(std::move(adder)); }
};

// Thrown by a command to end with exit code 1 after printing `message` on stderr.
struct CommandFailure {
    std::string message;
};

// "<file>: <reason>" on stderr, then exit code 1.
[[noreturn]] void failWithFile(const std::string& file, const std::string& reason);

} // namespace talwynctl
