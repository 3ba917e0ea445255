// The batch front end as a script runs it: arguments in, pane text out, an exit status.

#include "sanitizers.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <pwd.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <cstdio>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace logweave::testing {
namespace {

struct Finished {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& word)
{
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class CliTest : public ::testing::Test {
protected:
    Finished run(const std::vector<std::string>& arguments, const std::string& as = "",
                 const std::string& program = LOGWEAVE_CLI)
    {
        std::string command = "cd " + quoted(folder.path().string()) + " && " + as + quoted(program);
        for (const auto& a : arguments)
            command += " " + quoted(a);
        const int status = std::system((command + " >" + quoted((folder / "stdout.txt").string()) + " 2>"
                                        + quoted((folder / "stderr.txt").string())).c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("stdout.txt"), folder.read("stderr.txt")};
    }

    TemporaryFolder folder;
};

const std::string kOpen = "h<EOH>\r\n<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <EOR>\r\n";
const std::string kAdded = "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <EOR>\r\n";

TEST_F(CliTest, RefusesAWrongCommandLineWithItsUsage)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus", "open", "a.adi"}, "unknown option '--bogus'"},
        {{"--folder"}, "--folder needs a value"},
        {{"--header", "mine", "open", "a.adi"}, "--header takes added, open or program, not 'mine'"},
        {{"--match", "window=0", "open", "a.adi"}, "--match takes exact, window or window=MINUTES, not 'window=0'"},
        {{"--order", "x.txt", "--no-order", "open", "a.adi"}, "--order and --no-order exclude each other"},
        {{}, "no command given"},
        {{"open"}, "'open' needs an argument"},
        {{"wsjtx-update", "one.adi"}, "wsjtx-update takes two paths or none"},
        {{"wsjtx-update", "a.adi", "", "open", "a.adi"}, "wsjtx-update needs two paths that are not empty"},
        {{"wsjtx-update", "a.adi", "b.adi", "add", "c.adi", "open", "d.adi"}, "add needs a log"},
    };
    for (const auto& [arguments, message] : cases) {
        const Finished r = run(arguments);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.out, "") << message;
        EXPECT_TRUE(r.err.starts_with("logweave-cli: " + message)) << r.err;
        EXPECT_NE(r.err.find("\n\nusage: logweave-cli"), std::string::npos) << r.err;
    }
}

TEST_F(CliTest, HelpPrintsTheUsage)
{
    const Finished help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: logweave-cli")) << help.out;
}

TEST_F(CliTest, PrintsWhatThePaneWouldShowAndWritesIntoTheFolder)
{
    folder.write("log.adi", kOpen);
    folder.write("prog/AdifCodes_Liste.txt", "RST_SENT\r\n");
    const Finished r = run({"--folder", "prog", "open", "log.adi"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "L'ordre des champs des fichier de sortie sera celui du fichier :\r\n"
                     "[The order of the fields in the output files will be that of the file:]\r\n"
                     "prog/AdifCodes_Liste.txt\r\n\r\n"
                     "* * *  Lecture du fichier [File read]: log.adi   * * *\r\n\r\n"
                     "h<eoh>\r\n\r\n"
                     " 1 enregistrements traitées [records processed] \r\n\r\n");
    EXPECT_EQ(folder.read("prog/Adif_File.adi"),
              "h<eoh>\r\n<rst_sent:2>59 <call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <eor>\r\n");
}

TEST_F(CliTest, StopsAtTheFirstCommandThatFails)
{
    const Finished r = run({"--folder", ".", "--no-order", "open", "absent.adi", "filter", "CALL:Q1AAA"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("[Cannot read the file] : absent.adi (No such file or directory)"), std::string::npos);
    EXPECT_FALSE(folder.exists("Adif_Filtre1.adi"));
    EXPECT_EQ(run({"--folder", ".", "--no-order", "open", "absent.adi"}).err, "");
}

// A log, a field order list or Logweave.cfg that is no regular file is
// refused at once; under `timeout` a reading that waits or never ends fails
// the test instead of hanging it.
TEST_F(CliTest, RefusesAtOnceWhatIsNoRegularFile)
{
    ASSERT_EQ(::mkfifo((folder / "pipe.adi").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "Logweave.cfg").c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "folder.adi");
    folder.write("log.adi", kOpen);
    const std::string unreadable = "Impossible de lire le fichier [Cannot read the file] : ";
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"--no-order", "open", "pipe.adi"}, 1, unreadable + "pipe.adi (not a regular file but a named pipe)"},
        {{"--no-order", "open", "/dev/zero"}, 1, unreadable + "/dev/zero (not a regular file but a device)"},
        {{"--no-order", "open", "folder.adi"}, 1, unreadable + "folder.adi (not a regular file but a folder)"},
        {{"--no-order", "open", "log.adi", "add", "pipe.adi"}, 1,
         unreadable + "pipe.adi (not a regular file but a named pipe)"},
        // Without its list the log is read all the same.
        {{"--order", "pipe.adi", "open", "log.adi"}, 0,
         "[Field order list unreadable, no order is loaded] : pipe.adi (not a regular file but a named pipe)"},
        {{"wsjtx-update"}, 0, ""},  // as without the file: nothing to update
    };
    for (auto [arguments, status, said] : cases) {
        SCOPED_TRACE(arguments.back());
        arguments.insert(arguments.begin(), {"--folder", "."});
        const auto began = std::chrono::steady_clock::now();
        const Finished r = run(arguments, "timeout 10 ");
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
        EXPECT_EQ(r.status, status) << r.out;
        EXPECT_NE(r.out.find(said), std::string::npos) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(CliTest, MatchesContactsAndSettlesConflictsByTheRulesGiven)
{
    // As the WSJT-X program and a confirmation service write the same contact.
    folder.write("wsjtx.adi", "<call:5>Q1AAA <qso_date:8>20230101 <time_on:6>100015 <band:3>20m <mode:3>FT8 "
                              "<rst_sent:2>59 <eor>\n");
    folder.write("download.adi", "<CALL:5>Q1AAA <QSO_DATE:8:D>20230101 <TIME_ON:4>1000 <BAND:3>20m <MODE:3>FT8 "
                                 "<RST_SENT:3>599 <EOR>\n");
    const std::tuple<std::vector<std::string>, const char*, const char*> cases[] = {
        {{"--match", "exact", "--conflict", "added"}, "<rst_sent:2>59 ", " 1 enregistrements ajoutés"},
        {{"--match", "window", "--conflict", "open"}, "<rst_sent:2>59 ", " 1 enregistrements différents"},
        {{"--match", "window", "--conflict", "added"}, "<rst_sent:3>599 ", " 1 enregistrements différents"},
        {{"--match", "window=5", "--upper", "--conflict", "both"}, "<RST_SENT:6>59 599 ", " 1 enregistrements différents"},
    };
    for (auto [arguments, written, said] : cases) {
        arguments.insert(arguments.end(), {"--folder", ".", "--no-order", "open", "wsjtx.adi", "add", "download.adi"});
        const Finished r = run(arguments);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(folder.read("Logweave.adi").find(written), std::string::npos) << written;
        EXPECT_NE(r.out.find(said), std::string::npos) << r.out;
    }
}

TEST_F(CliTest, ALogTooLargeForTheMemoryStopsWithStatusOneAndWritesNothing)
{
    if (kAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer reserves more address space than a limit leaves";
    folder.writeLargeLog("big.adi", 24);
    folder.write("Adif_File.adi", "earlier");
    const Finished r = run({"--folder", ".", "--no-order", "open", "big.adi"}, "ulimit -v 40000 && ");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.ends_with("[The log is too large for this computer's memory, the operation stops] : big.adi\r\n\r\n"))
        << r.out;
    EXPECT_EQ(r.out.find("enregistrements"), std::string::npos);  // no count before
    EXPECT_EQ(folder.read("Adif_File.adi"), "earlier");
    // big.adi, Adif_File.adi, and the output the test keeps: no other file, no temporary one.
    EXPECT_EQ(folder.entryCount(), 4);
}

TEST_F(CliTest, UpdatesTheWsjtxLogNamedInTheConfigurationFile)
{
    EXPECT_EQ(run({"--folder", ".", "wsjtx-update"}).status, 0);  // no configuration file: nothing to do
    folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
    folder.write("wsjtx_log.adi", kOpen);
    const auto added = folder.write("added.adi", kAdded);
    // A name without folder in the file is read from the program folder, as the window reads it.
    folder.write("Logweave.cfg", "FicToUpdate = wsjtx_log.adi\r\nFicToMerge = " + added.string() + "\r\n");
    std::filesystem::create_directory(folder / "elsewhere");
    const Finished r = run({"--folder", "..", "--conflict", "added", "wsjtx-update"}, "cd elsewhere && ");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(r.out.ends_with("../wsjtx_log.adi   et [and]\r\n../Wsjtx.log   remplacés [replaced]")) << r.out;
    EXPECT_EQ(folder.read("wsjtx_log.adi_old"), kOpen);
    EXPECT_NE(folder.read("wsjtx_log.adi").find("<rst_sent:3>599 <eor>"), std::string::npos);
}

// logweave-cli installed with its field order lists, as the package lays
// them out, run without --folder by a user whose home is home/.
class InstalledCliTest : public CliTest {
protected:
    InstalledCliTest()
    {
        std::filesystem::create_directories(folder / "install");
        std::filesystem::create_directories(folder / "home");
        std::filesystem::copy_file(LOGWEAVE_CLI, folder / "install/logweave-cli");
        folder.write("install/AdifCodes_Liste.txt", "RST_SENT\r\n");
        folder.write("install/AdifCodes_Liste_WSJT-X.txt", "call\r\n");
        folder.write("log.adi", kOpen);
    }

    // With `xdgDataHome` as XDG_DATA_HOME, unset when empty. When `readOnly`,
    // no file can be created in install/: under root, who writes anywhere,
    // the program runs as nobody, given home/.
    Finished runInstalled(const std::vector<std::string>& arguments, bool readOnly,
                          const std::string& xdgDataHome = "")
    {
        namespace fs = std::filesystem;
        const std::string env = "env "
            + (xdgDataHome.empty() ? "-u XDG_DATA_HOME" : "XDG_DATA_HOME=" + quoted(xdgDataHome)) + " HOME="
            + quoted((folder / "home").string()) + " ";
        const auto install = folder / "install";
        const std::string program = (install / "logweave-cli").string();
        if (!readOnly)
            return run(arguments, env, program);
        if (::geteuid() != 0) {
            fs::permissions(install, fs::perms::owner_write, fs::perm_options::remove);
            Finished r = run(arguments, env, program);
            fs::permissions(install, fs::perms::owner_write, fs::perm_options::add);
            return r;
        }
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr)
            throw std::runtime_error("no user nobody to run as");
        const std::string uid = std::to_string(nobody->pw_uid);
        const std::string gid = std::to_string(nobody->pw_gid);
        fs::permissions(folder.path(), fs::perms(0755));
        return run(arguments,
                   "chown -R " + uid + ":" + gid + " home && setpriv --reuid=" + uid + " --regid=" + gid
                       + " --clear-groups " + env,
                   program);
    }
};

TEST_F(InstalledCliTest, WorksInTheWindowsProgramFolderUnlessGivenAnother)
{
    const std::string sorted = "h<eoh>\r\n<rst_sent:2>59 <call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <eor>\r\n";
    // An install folder that can be written is the program folder, as for the window.
    Finished r = runInstalled({"open", "log.adi"}, false);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(folder.exists("install/Adif_File.adi")) << r.out;
    EXPECT_EQ(folder.read("install/Adif_File.adi"), sorted);
    EXPECT_FALSE(folder.exists("Adif_File.adi"));
    EXPECT_FALSE(folder.exists("home/.local"));
    r = runInstalled({"--folder", ".", "--no-order", "open", "log.adi"}, false);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(folder.exists("Adif_File.adi"));
    std::filesystem::remove(folder / "install/Adif_File.adi");

    // One that cannot: the user's data folder, given the installed lists the user lacks.
    folder.write("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt", "mine\r\n");
    r = runInstalled({"open", "log.adi"}, true);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(folder.read("home/.local/share/Logweave/Adif_File.adi"), sorted);
    EXPECT_EQ(folder.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), "RST_SENT\r\n");
    EXPECT_EQ(folder.read("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt"), "mine\r\n");
    EXPECT_FALSE(folder.exists("install/Adif_File.adi"));

    // XDG_DATA_HOME moves it, and the update follows the Logweave.cfg saved there.
    const auto added = folder.write("home/added.adi", kAdded);
    folder.write("home/data/Logweave/wsjtx_log.adi", kOpen);
    folder.write("home/data/Logweave/Logweave.cfg",
                 "FicToUpdate = wsjtx_log.adi\r\nFicToMerge = " + added.string() + "\r\n");
    r = runInstalled({"--conflict", "added", "wsjtx-update"}, true, (folder / "home/data").string());
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(folder.read("home/data/Logweave/wsjtx_log.adi_old"), kOpen);
    EXPECT_NE(folder.read("home/data/Logweave/wsjtx_log.adi").find("<rst_sent:3>599 <eor>"), std::string::npos);
    EXPECT_EQ(folder.read("home/data/Logweave/AdifCodes_Liste_WSJT-X.txt"), "call\r\n");
}

// Starts the program with its standard output dropped; the caller waits for it.
pid_t spawnQuietly(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, LOGWEAVE_CLI, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// A WSJT-X log of `records` contacts over twenty days, and a log to merge
// into it of each hundredth with one field more.
std::pair<std::string, std::string> logsToUpdate(int records)
{
    std::string wsjtx = "WSJT-X ADIF Export<eoh>\n";
    std::string other;
    for (int i = 0; i < records; ++i) {
        const std::string contact = "<call:6>Q" + std::to_string(10000 + i % 90000) + " <qso_date:8>2023"
            + std::to_string(1001 + i / (records / 20)) + " <time_on:6>" + std::to_string(100000 + i % (records / 20))
            + " <band:3>20m <mode:3>FT8 <rst_sent:3>-10 ";
        wsjtx += contact + "<eor>\n";
        if (i % 100 == 0)
            other += contact + "<rst_rcvd:3>-05 <eor>\n";
    }
    return {wsjtx, other};
}

// Killed at any moment, the update leaves each log old or new, never cut, and its backup whole.
TEST_F(CliTest, AnUpdateInterruptedAnywhereLeavesWholeLogs)
{
    // A WSJT-X log large enough to be killed while it is written.
    const auto logs = logsToUpdate(30000);
    const std::string& wsjtx = logs.first;
    const std::string& other = logs.second;
    folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\nqso_date\r\ntime_on\r\n");
    const auto log = folder / "station" / "wsjtx_log.adi";
    const auto merge = folder / "other.adi";
    const auto backup = folder / "station" / "wsjtx_log.adi_old";
    const auto start = [&] {
        writeBytes(log, wsjtx);
        writeBytes(merge, other);
        std::filesystem::remove(backup);
        return spawnQuietly({LOGWEAVE_CLI, "--folder", folder.path().string(), "wsjtx-update", log.string(), merge.string()});
    };

    const auto began = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(start(), &status, 0);
    const auto whole = std::chrono::steady_clock::now() - began;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string merged = readBytes(log);
    ASSERT_NE(merged, wsjtx);
    ASSERT_EQ(readBytes(merge), merged);

    for (int step = 0; step <= 12; ++step) {
        const pid_t pid = start();
        std::this_thread::sleep_for(whole * step / 10);
        ::kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        const std::string now = readBytes(log);
        EXPECT_TRUE(now == wsjtx || now == merged) << "step " << step;
        const std::string mergeNow = readBytes(merge);
        EXPECT_TRUE(mergeNow == other || mergeNow == merged) << "step " << step;
        if (std::filesystem::exists(backup)) {
            EXPECT_EQ(readBytes(backup), wsjtx) << "step " << step;
        }
    }
}

// Another program that logs a contact every few milliseconds into `log`, as
// the WSJT-X program does (open, append, close) or keeping one descriptor
// open, until it is stopped. To the batch front end, this test is that program.
class Appender {
public:
    Appender(const std::filesystem::path& log, bool keepOpen)
        : thread_([this, log, keepOpen] { appendUntilStopped(log, keepOpen); })
    {
    }
    ~Appender()
    {
        if (thread_.joinable())
            stop();
    }

    // Stops it; the number of contacts it appended, -1 when a write failed.
    int stop()
    {
        stop_ = true;
        thread_.join();
        return appended_;
    }

    // How often each of the first `appended` contacts stands in `log`.
    static std::vector<int> timesEachIn(std::string_view log, int appended)
    {
        std::vector<int> times(static_cast<std::size_t>(appended), 0);
        constexpr std::string_view tag = "<call:7>Y";
        for (auto at = log.find(tag); at != std::string_view::npos; at = log.find(tag, at + 1)) {
            const int i = std::stoi(std::string(log.substr(at + tag.size(), 6))) - 100000;
            if (i >= 0 && i < appended)
                ++times[static_cast<std::size_t>(i)];
        }
        return times;
    }

private:
    void appendUntilStopped(const std::filesystem::path& log, bool keepOpen)
    {
        // Not inherited by the batch front end, which would then hold it too.
        const auto openLog = [&] { return ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC); };
        int fd = keepOpen ? openLog() : -1;
        int i = 0;
        for (; !stop_; ++i) {
            const std::string record = "<call:7>Y" + std::to_string(100000 + i) + " <qso_date:8>20261207 <time_on:6>"
                + std::to_string(100000 + i % 100000) + " <band:3>20m <mode:3>FT8 <eor>\n";
            if (!keepOpen)
                fd = openLog();
            if (fd < 0 || ::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size()))
                return;
            if (!keepOpen)
                ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        if (keepOpen)
            ::close(fd);
        appended_ = i;
    }

    std::atomic<bool> stop_ = false;
    int appended_ = -1;
    std::thread thread_;  // last: it starts once the members it uses are made
};

// While the WSJT-X program logs, four updates of a large log lose none of its
// contacts and double none: each update takes in what was appended, or, while
// the log is kept open, replaces nothing and says so.
TEST_F(CliTest, KeepsEveryContactLoggedDuringUpdates)
{
    const auto [wsjtx, other] = logsToUpdate(200000);
    folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\nqso_date\r\ntime_on\r\n");
    for (const bool keepOpen : {false, true}) {
        SCOPED_TRACE(keepOpen ? "one descriptor kept open" : "open, append, close");
        const auto log = folder.write("station/wsjtx_log.adi", wsjtx);
        const auto merge = folder.write("other.adi", other);
        Appender appender(log, keepOpen);
        int replaced = 0;
        for (int update = 0; update < 4; ++update) {
            int status = 0;
            waitpid(spawnQuietly({LOGWEAVE_CLI, "--folder", folder.path().string(), "wsjtx-update", log.string(),
                                  merge.string()}),
                    &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1);
            replaced += WEXITSTATUS(status) == 0 ? 1 : 0;
        }
        const int appended = appender.stop();
        ASSERT_GT(appended, 0);
        const std::vector<int> times = Appender::timesEachIn(readBytes(log), appended);
        const auto lost = std::count(times.begin(), times.end(), 0);
        const auto doubled = std::count_if(times.begin(), times.end(), [](int n) { return n > 1; });
        EXPECT_EQ(lost, 0);
        EXPECT_EQ(doubled, 0);
        // What the update does with a log kept open: nothing, until it is let go.
        EXPECT_EQ(replaced, keepOpen ? 0 : 4);
        std::printf("%s: %d contacts appended during 4 updates, %d updates replaced the log, %td lost, %td doubled\n",
                    keepOpen ? "one descriptor kept open" : "open, append, close", appended, replaced, lost, doubled);
        std::filesystem::remove_all(folder / "station");
    }
}

}  // namespace
}  // namespace logweave::testing
