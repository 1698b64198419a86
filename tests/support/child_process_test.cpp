// Programs started by tests end with them, whatever way the test ends.

#include "support/child_process.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <fstream>
#include <string>

namespace talwyn::testing {
namespace {

// A pipe whose write end children reach as /dev/fd/N, for reading the
// process ids they print.
class PidPipe {
public:
    PidPipe() { EXPECT_EQ(::pipe(fds_.data()), 0); }
    ~PidPipe() {
        closeWriter();
        ::close(fds_[0]);
    }
    std::string writerPath() const { return "/dev/fd/" + std::to_string(fds_[1]); }
    int writer() const { return fds_[1]; }
    void closeWriter() {
        if (fds_[1] >= 0)
            ::close(fds_[1]);
        fds_[1] = -1;
    }
    pid_t readPid() const {
        std::string text;
        char c = 0;
        while (::read(fds_[0], &c, 1) == 1 && c != '\n')
            text += c;
        return text.empty() ? -1 : std::stoi(text);
    }

private:
    std::array<int, 2> fds_{-1, -1};
};

// Whether `pid` has replaced itself with `program`.
bool runsProgram(pid_t pid, const std::string& program) {
    std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline");
    std::string first;
    std::getline(cmdline, first, '\0');
    return first == program;
}

// Orphans of this test's children become its own, so it can wait for them.
struct ChildProcessTest : ::testing::Test {
    void SetUp() override { ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0); }
    void TearDown() override { ::prctl(PR_SET_CHILD_SUBREAPER, 0); }

    static int endingSignal(pid_t pid) {
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid)
            return -1;
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
};

TEST_F(ChildProcessTest, ProgramDiesWithTheProcessThatStartedIt) {
    PidPipe pipe;
    const pid_t tester = ::fork();
    ASSERT_GE(tester, 0);
    if (tester == 0) {
        // Stands in for a test that is killed while its program runs.
        ChildProcess sleeper({{"sleep", "600"}, environmentWith({}), std::nullopt, std::nullopt});
        // Killed before its program runs, the child ends itself instead: wait
        // for the program so the kill below tests the death signal.
        for (int attempt = 0; attempt < 500 && !runsProgram(sleeper.pid(), "sleep"); ++attempt)
            ::usleep(10'000);
        const std::string line = std::to_string(sleeper.pid()) + "\n";
        if (::write(pipe.writer(), line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    pipe.closeWriter();
    const pid_t sleeper = pipe.readPid();
    ASSERT_GT(sleeper, 0);
    ::kill(tester, SIGKILL);
    EXPECT_EQ(endingSignal(tester), SIGKILL);
    EXPECT_EQ(endingSignal(sleeper), SIGKILL);
}

TEST_F(ChildProcessTest, StopEndsAProgramThatIgnoresTheRequestAndWhatItStarted) {
    PidPipe pipe;
    // The helper it starts inherits the ignored SIGTERM.
    ChildProcess stubborn({{"sh", "-c", "trap '' TERM; sleep 600 & echo $!; wait"},
                           environmentWith({}),
                           pipe.writerPath(),
                           std::nullopt});
    ASSERT_TRUE(stubborn.started());
    pipe.closeWriter();
    const pid_t helper = pipe.readPid();
    ASSERT_GT(helper, 0);
    stubborn.stop();
    EXPECT_EQ(endingSignal(helper), SIGKILL);
}

TEST_F(ChildProcessTest, WaitGivesTheExitCodeAndOutputGoesToTheFile) {
    const ScratchFolder folder("child_process");
    const auto file = folder / "output";
    ChildProcess shell({{"sh", "-c", "echo \"$GREETING\"; exit 3"},
                        environmentWith({"GREETING=hello"}),
                        file,
                        std::nullopt});
    EXPECT_EQ(shell.wait(), 3);
    EXPECT_EQ(readText(file), "hello\n");
    EXPECT_EQ(
        ChildProcess({{"no-such-program-here"}, environmentWith({}), std::nullopt, std::nullopt}).wait(),
        127);
}

} // namespace
} // namespace talwyn::testing
