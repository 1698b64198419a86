#pragma once
// A program started by a test and bound to it: it ends when the object dies,
// and the kernel kills it when the test process dies first (a crash, a
// failed assertion that aborts, ctest's timeout or an interrupted run), so
// no server or simulated mouse outlives the test that started it.

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace talwyn::testing {

struct ChildSpec {
    std::vector<std::string> argv;               // argv[0] is looked up on PATH
    std::vector<std::string> environment;        // the whole environment of the child
    std::optional<std::filesystem::path> output; // stdout; nullopt keeps the test's
    std::optional<std::filesystem::path> errors; // stderr; nullopt keeps the test's
};

// This process's environment with `replacements` first and every entry whose
// name one of them sets, or that starts with one of `dropPrefixes`, left out.
inline std::vector<std::string> environmentWith(const std::vector<std::string>& replacements,
                                                const std::vector<std::string>& dropPrefixes = {}) {
    std::vector<std::string> env = replacements;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        bool keep = true;
        for (const std::string& r : replacements)
            keep = keep && !entry.starts_with(r.substr(0, r.find('=') + 1));
        for (const std::string& prefix : dropPrefixes)
            keep = keep && !entry.starts_with(prefix);
        if (keep)
            env.emplace_back(entry);
    }
    return env;
}

class ChildProcess {
public:
    explicit ChildProcess(ChildSpec spec) {
        std::vector<char*> argv;
        for (std::string& a : spec.argv)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& e : spec.environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        const int out = openOutput(spec.output);
        const int err = openOutput(spec.errors);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls between fork and exec.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(127); // the test died before the line above took effect
            ::setpgid(0, 0);  // its own helpers end with it
            if (out >= 0)
                ::dup2(out, STDOUT_FILENO);
            if (err >= 0)
                ::dup2(err, STDERR_FILENO);
            ::execvpe(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        if (pid_ > 0)
            ::setpgid(pid_, pid_); // also here, so stop() finds the group at once
        closeFd(out);
        closeFd(err);
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    void signal(int number) const {
        if (pid_ > 0)
            ::kill(pid_, number);
    }
    // Waits for the program to end by itself: its exit code, or -1 when it
    // did not start or was ended by a signal.
    int wait() {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_)
            return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The exit code once the program has ended by itself; does not wait.
    std::optional<int> exitCode() {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, WNOHANG) != pid_)
            return std::nullopt;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Asks the program and its process group to end; a program that does not
    // end within a few seconds is killed, and so is whatever it left behind.
    void stop() {
        if (pid_ <= 0)
            return;
        const pid_t group = pid_;
        ::kill(-group, SIGTERM);
        bool ended = false;
        for (int attempt = 0; attempt < kTermAttempts && !ended; ++attempt) {
            ended = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
            if (!ended)
                ::usleep(kTermPollMicroseconds);
        }
        ::kill(-group, SIGKILL);
        if (!ended)
            ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static constexpr int kTermAttempts = 100;
    static constexpr useconds_t kTermPollMicroseconds = 50'000;

    static int openOutput(const std::optional<std::filesystem::path>& path) {
        return path ? ::open(path->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    }
    static void closeFd(int fd) {
        if (fd >= 0)
            ::close(fd);
    }

    pid_t pid_ = -1;
};

} // namespace talwyn::testing
