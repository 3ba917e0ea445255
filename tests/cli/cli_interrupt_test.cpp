// The batch front end at a terminal: its progress bar on standard error, and
// Ctrl+C, which stops the command at work leaving every file as it was.

#include "temporary_folder.h"

#include "logweave/pane_texts.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Where the program's standard error goes: the end a person would see, and
// the end the test reads.
struct ErrorStream {
    int program = -1;
    int test = -1;
};

ErrorStream terminal()
{
    ErrorStream ends;
    EXPECT_EQ(::openpty(&ends.test, &ends.program, nullptr, nullptr, nullptr), 0);
    return ends;
}

ErrorStream pipeline()
{
    int ends[2] = {-1, -1};
    EXPECT_EQ(::pipe(ends), 0);
    return {ends[1], ends[0]};
}

// logweave-cli at work, its standard output into a file (without one, where
// its standard error goes), its standard error read as it comes; the signals
// that stop it as a shell leaves them to a program in the foreground.
class RunningCli {
public:
    RunningCli(const std::vector<std::string>& arguments, const fs::path& out, ErrorStream stream) : err_(stream.test)
    {
        std::vector<std::string> words{LOGWEAVE_CLI};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (out.empty())
            posix_spawn_file_actions_adddup2(&actions, stream.program, STDOUT_FILENO);
        else
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, stream.program, STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, stream.test);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t interrupt;
        sigemptyset(&interrupt);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&interrupt, signal);
        posix_spawnattr_setsigdefault(&attributes, &interrupt);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        EXPECT_EQ(posix_spawn(&pid_, LOGWEAVE_CLI, &actions, &attributes, argv.data(), environ), 0);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        ::close(stream.program);  // the program's end only: its exit then ends the reading
    }
    ~RunningCli()
    {
        if (pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(err_);
    }
    RunningCli(const RunningCli&) = delete;
    RunningCli& operator=(const RunningCli&) = delete;

    // Reads standard error until `text` is in it or the program is done with
    // it; whether it came.
    bool awaitError(std::string_view text)
    {
        while (err.find(text) == std::string::npos)
            if (!readSome())
                return false;
        return true;
    }

    void interrupt(int signal) const { ::kill(pid_, signal); }

    // Its exit status once standard error is read to its end; -1 when a signal ended it.
    int wait()
    {
        while (readSome()) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string err;

private:
    // False at the end of the stream; a program that hangs fails the test.
    bool readSome()
    {
        pollfd ready{err_, POLLIN, 0};
        if (::poll(&ready, 1, 60'000) != 1) {
            ADD_FAILURE() << "no end of standard error within a minute";
            return false;
        }
        char block[4096];
        const ssize_t n = ::read(err_, block, sizeof block);
        if (n <= 0)  // a terminal whose program side is closed says EIO
            return false;
        err.append(block, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int err_;
};

std::map<std::string, std::string> filesIn(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = readBytes(entry.path());
    return files;
}

const std::string kReadingBar = "Lecture [Reading]";
const std::string kSortingBar = "Tri [Sorting]";
const std::string kWritingBar = "\xC3\x89" "criture [Writing]";

TEST(CliAtATerminal, ShowsProgressOnStandardErrorOnlyWhenItIsATerminal)
{
    TemporaryFolder folder;
    folder.writeLargeLog("log.adi", 2);
    const std::vector<std::string> open{"--folder", folder.path().string(), "--no-order", "open",
                                        (folder / "log.adi").string()};

    RunningCli shown(open, folder / "shown.txt", terminal());
    ASSERT_EQ(shown.wait(), 0) << shown.err;
    for (const std::string& bar : {kReadingBar, kSortingBar, kWritingBar})
        EXPECT_NE(shown.err.find("\r" + bar + " "), std::string::npos) << bar;
    // A phase is drawn as it begins, whatever comes later.
    EXPECT_NE(shown.err.find("\r" + kWritingBar + "   [--------------------]   0 %  0 / "), std::string::npos)
        << shown.err;
    // Wiped at the end: the shell's prompt starts on a clean line.
    EXPECT_TRUE(shown.err.ends_with("   \r")) << shown.err;

    RunningCli piped(open, folder / "piped.txt", pipeline());
    ASSERT_EQ(piped.wait(), 0);
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(folder.read("piped.txt"), folder.read("shown.txt"));

    // On the same terminal, the count written after the tidy copy begins on
    // the line the bar of its writing has left blank.
    RunningCli together(open, {}, terminal());
    ASSERT_EQ(together.wait(), 0);
    const auto count = together.err.find(" enregistrements trait");
    ASSERT_NE(count, std::string::npos) << together.err;
    const auto line = together.err.find_last_not_of("0123456789", count - 1);  // the blank before the number
    EXPECT_TRUE(together.err.substr(0, line).ends_with("   \r")) << together.err;
}

// Ctrl+C, SIGTERM or SIGHUP while the tidy copy is written. A log the program
// gets through before the signal arrives is tried again, twice as large.
void stopsLeavingEveryFileAsItWas(int signal, int exitStatus)
{
    TemporaryFolder folder;
    for (int megabytes = 40; megabytes <= 320; megabytes *= 2) {
        SCOPED_TRACE(std::to_string(megabytes) + " MiB");
        folder.write("prog/Adif_File.adi", "earlier\r\n");
        folder.write("prog/AdifCodes.txt", "earlier\r\n");
        const auto before = filesIn(folder / "prog");
        folder.writeLargeLog("big.adi", megabytes);
        RunningCli cli({"--folder", (folder / "prog").string(), "--no-order", "open", (folder / "big.adi").string()},
                       folder / "pane.txt", terminal());
        const bool writing = cli.awaitError(kWritingBar);
        if (writing)
            cli.interrupt(signal);
        const int status = cli.wait();
        const std::string pane = folder.read("pane.txt");
        if (status == 0)  // written whole before the signal came: a larger log
            continue;
        ASSERT_TRUE(writing) << pane;
        EXPECT_EQ(status, exitStatus) << pane;
        EXPECT_TRUE(pane.ends_with(pane::cancelled())) << pane;
        EXPECT_EQ(filesIn(folder / "prog"), before);
        return;
    }
    FAIL() << "every log was written whole before the signal came";
}

TEST(CliAtATerminal, CtrlCAKillOrAHangUpStopsTheCommandLeavingEveryFileAsItWas)
{
    const struct {
        int signal;
        int exitStatus;
    } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& [signal, exitStatus] : cases) {
        SCOPED_TRACE(strsignal(signal));
        stopsLeavingEveryFileAsItWas(signal, exitStatus);
    }
}

}  // namespace
}  // namespace logweave::testing
