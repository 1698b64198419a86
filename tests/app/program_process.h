#pragma once
// talwyn-pro as a child process of a test.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace talwyn::testing {

// The program with its own environment, stopped when the test ends.
class ProgramProcess {
public:
    // Runs talwyn-pro (the built one unless `executable` names another copy)
    // with `arguments`; `environment` entries replace the display (X11 and
    // Wayland), platform, XDG and TALWYN_HID variables of this process.
    ProgramProcess(std::vector<std::string> arguments, const std::vector<std::string>& environment,
                   const std::filesystem::path& output,
                   const std::filesystem::path& executable = std::string(TALWYN_BIN_DIR) + "/talwyn-pro") {
        std::vector<std::string> env = environment;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string_view entry(*e);
            if (!entry.starts_with("TALWYN_HID=") && !entry.starts_with("DISPLAY=") &&
                !entry.starts_with("WAYLAND_DISPLAY=") && !entry.starts_with("QT_QPA_PLATFORM=") &&
                !entry.starts_with("XDG_")) {
                env.emplace_back(entry);
            }
        }
        std::vector<char*> envp;
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string program = executable.string();
        std::vector<char*> argv{program.data()};
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, (output.string() + ".err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    // Waits for the program to end by itself; its exit code, or -1.
    int wait() {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) {
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The exit code once the program has ended by itself; does not wait.
    std::optional<int> exitCode() {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, WNOHANG) != pid_) {
            return std::nullopt;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~ProgramProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

} // namespace talwyn::testing
