// The batch front end as a script runs it: arguments in, pane text out, an exit status.

#include "sanitizers.h"
#include "temporary_folder.h"

#include "logweave/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <tuple>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

struct Finished {
    int status;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// Beside the tests, where the build puts every program.
std::string cliProgram()
{
    wchar_t self[MAX_PATH];
    const DWORD size = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return bytesFromPath(fs::path(std::wstring(self, size)).parent_path() / LOGWEAVE_CLI);
}

// One argument as the program's C runtime splits its command line again.
std::wstring quoted(const std::string& word)
{
    const std::wstring wide = pathFromBytes(word).native();
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : wide) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

// A running program, its output into `out` and `err` (dropped when empty),
// started in `folder`.
class Child {
public:
    Child(const std::vector<std::string>& arguments, const fs::path& folder, const fs::path& out = {},
          const fs::path& err = {}, const std::string& program = cliProgram())
    {
        std::wstring line = quoted(program);
        for (const auto& a : arguments)
            line += L" " + quoted(a);
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        const auto file = [&](const fs::path& path) {
            return CreateFileW(path.empty() ? L"NUL" : path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        STARTUPINFOW start{};
        start.cb = sizeof start;
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ, &inherited, OPEN_EXISTING, 0, nullptr);
        start.hStdOutput = file(out);
        start.hStdError = file(err);
        PROCESS_INFORMATION started{};
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &start,
                                   &started));
        for (const HANDLE h : {start.hStdInput, start.hStdOutput, start.hStdError})
            CloseHandle(h);
        CloseHandle(started.hThread);
        process_ = started.hProcess;
    }
    ~Child() { CloseHandle(process_); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Its exit status; -1 when it ran longer than `limit` and was stopped.
    int wait(std::chrono::milliseconds limit = std::chrono::minutes(5))
    {
        if (WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
            kill();
            return -1;
        }
        DWORD status = 0;
        GetExitCodeProcess(process_, &status);
        return static_cast<int>(status);
    }
    void kill()
    {
        TerminateProcess(process_, 137);
        WaitForSingleObject(process_, INFINITE);
    }

private:
    HANDLE process_ = nullptr;
};
#else
std::string cliProgram()
{
    return LOGWEAVE_CLI;
}

std::string quoted(const std::string& word)
{
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A running program, its standard output dropped.
class Child {
public:
    explicit Child(const std::vector<std::string>& arguments)
    {
        std::vector<char*> argv;
        for (const auto& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        EXPECT_EQ(posix_spawn(&pid_, LOGWEAVE_CLI, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Its exit status; -1 when it did not exit by itself.
    int wait()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void kill()
    {
        ::kill(pid_, SIGKILL);
        wait();
    }

private:
    pid_t pid_ = -1;
};
#endif

class CliTest : public ::testing::Test {
protected:
    // Runs `program` in the test's folder or a folder `within` it; `as` is
    // what a POSIX shell runs it under. A run that hangs fails the test.
    Finished run(const std::vector<std::string>& arguments, const std::string& within = "", const std::string& as = "",
                 const std::string& program = cliProgram())
    {
        const fs::path in = within.empty() ? folder.path() : folder / within;
#ifdef _WIN32
        static_cast<void>(as);  // none is given where there is no such shell
        Child child(arguments, in, folder / "stdout.txt", folder / "stderr.txt", program);
        const int status = child.wait(std::chrono::seconds(10));
#else
        std::string command = "cd " + quoted(in.string()) + " && " + as + quoted(program);
        for (const auto& a : arguments)
            command += " " + quoted(a);
        const int result = std::system((command + " >" + quoted((folder / "stdout.txt").string()) + " 2>"
                                        + quoted((folder / "stderr.txt").string())).c_str());
        const int status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
#endif
        return {status, folder.read("stdout.txt"), folder.read("stderr.txt")};
    }

    // The program started with its standard output dropped; the caller waits for it.
    std::unique_ptr<Child> start(const std::vector<std::string>& arguments)
    {
#ifdef _WIN32
        return std::make_unique<Child>(arguments, folder.path());
#else
        std::vector<std::string> argv{LOGWEAVE_CLI};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<Child>(argv);
#endif
    }

    TemporaryFolder folder;
};

// A path as the program names it: joined by the system's own separator.
std::string joined(const std::string& path)
{
    return bytesFromPath(fs::path(path).make_preferred());
}

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
        {{"--threads", "0", "open", "a.adi"}, "--threads takes a number from 1 to 256, not '0'"},
        {{"--threads", "2x", "open", "a.adi"}, "--threads takes a number from 1 to 256, not '2x'"},
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
                         + joined("prog/AdifCodes_Liste.txt") + "\r\n\r\n"
                     "* * *  Lecture du fichier [File read]: log.adi   * * *\r\n\r\n"
                     "h<eoh>\r\n\r\n"
                     " 1 enregistrements traitées [records processed] \r\n\r\n");
    EXPECT_EQ(folder.read("prog/Adif_File.adi"),
              "h<eoh>\r\n<rst_sent:2>59 <call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <eor>\r\n");
}

// Names in any script reach the files as they were given, whatever the
// system's code page for programs.
TEST_F(CliTest, TakesNamesInAnyScript)
{
    const std::string station = "Station \xC3\xA9t\xC3\xA9 \xE4\xB8\xAD";  // "Station été 中"
    const std::string log = station + "/F\xC3\xB8rst-\xCE\xB1.adi";          // "Først-α.adi"
    writeBytes(folder.path() / pathFromBytes(log), kOpen);
    const Finished r = run({"--folder", station, "--no-order", "open", log});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("[File read]: " + log + " "), std::string::npos) << r.out;
    EXPECT_EQ(readBytes(folder.path() / pathFromBytes(station) / "Adif_File.adi"),
              "h<eoh>\r\n<call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <rst_sent:2>59 <eor>\r\n");
    // And named as given when it cannot be read.
    const Finished absent = run({"--folder", ".", "--no-order", "open", station + "/\xCE\xB2.adi"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_NE(absent.out.find("[Cannot read the file] : " + station + "/\xCE\xB2.adi ("), std::string::npos) << absent.out;
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
// refused at once; a reading that waits or never ends is stopped, failing
// the test instead of hanging it.
TEST_F(CliTest, RefusesAtOnceWhatIsNoRegularFile)
{
    std::filesystem::create_directory(folder / "folder.adi");
    folder.write("log.adi", kOpen);
    const std::string unreadable = "Impossible de lire le fichier [Cannot read the file] : ";
    const std::string folderNotFile = " (not a regular file but a folder)";
#ifdef _WIN32
    // Devices have names of their own, in every folder.
    std::filesystem::create_directory(folder / "Logweave.cfg");
    const std::string special = "COM1.adi";
    const std::string why = " (not a regular file but a device)";
    const std::string device = "NUL";
#else
    ASSERT_EQ(::mkfifo((folder / "pipe.adi").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "Logweave.cfg").c_str(), 0600), 0);
    const std::string special = "pipe.adi";
    const std::string why = " (not a regular file but a named pipe)";
    const std::string device = "/dev/zero";
#endif
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"--no-order", "open", special}, 1, unreadable + special + why},
        {{"--no-order", "open", device}, 1, unreadable + device + " (not a regular file but a device)"},
        {{"--no-order", "open", "folder.adi"}, 1, unreadable + "folder.adi" + folderNotFile},
        {{"--no-order", "open", "log.adi", "add", special}, 1, unreadable + special + why},
        // Without its list the log is read all the same.
        {{"--order", special, "open", "log.adi"}, 0,
         "[Field order list unreadable, no order is loaded] : " + special + why},
        {{"wsjtx-update"}, 0, ""},  // as without the file: nothing to update
    };
    for (auto [arguments, status, said] : cases) {
        SCOPED_TRACE(arguments.back());
        arguments.insert(arguments.begin(), {"--folder", "."});
        const auto began = std::chrono::steady_clock::now();
        const Finished r = run(arguments, "", "timeout 10 ");
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

// A command after an add works on the merged log.
TEST_F(CliTest, FiltersTheMergedLogWhenAFilterFollowsTheAdd)
{
    folder.write("wsjtx.adi", "<call:5>Q1AAA <qso_date:8>20230101 <time_on:6>100015 <band:3>20m <eor>\n");
    folder.write("download.adi", "<call:5>Q2BBB <qso_date:8>20230102 <time_on:6>110000 <band:3>20m <eor>\n");
    const Finished r = run({"--folder", ".", "--no-order", "open", "wsjtx.adi", "add", "download.adi", "filter",
                            "BAND:20M"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string kept = folder.read("Adif_Filtre2.adi");
    EXPECT_NE(kept.find("Q1AAA"), std::string::npos) << kept;
    EXPECT_NE(kept.find("Q2BBB"), std::string::npos) << kept;
}

TEST_F(CliTest, ALogTooLargeForTheMemoryStopsWithStatusOneAndWritesNothing)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows: no limit on a process's memory that Wine enforces";
#endif
    if (kAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer reserves more address space than a limit leaves";
    folder.writeLargeLog("big.adi", 24);
    folder.write("Adif_File.adi", "earlier");
    const Finished r = run({"--folder", ".", "--no-order", "open", "big.adi"}, "", "ulimit -v 40000 && ");
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
    const Finished r = run({"--folder", "..", "--conflict", "added", "wsjtx-update"}, "elsewhere");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(r.out.ends_with(joined("../wsjtx_log.adi") + "   et [and]\r\n" + joined("../Wsjtx.log")
                                + "   remplacés [replaced]"))
        << r.out;
    EXPECT_EQ(folder.read("wsjtx_log.adi_old"), kOpen);
    EXPECT_NE(folder.read("wsjtx_log.adi").find("<rst_sent:3>599 <eor>"), std::string::npos);
}

#ifndef _WIN32
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
            return run(arguments, "", env, program);
        if (::geteuid() != 0) {
            fs::permissions(install, fs::perms::owner_write, fs::perm_options::remove);
            Finished r = run(arguments, "", env, program);
            fs::permissions(install, fs::perms::owner_write, fs::perm_options::add);
            return r;
        }
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr)
            throw std::runtime_error("no user nobody to run as");
        const std::string uid = std::to_string(nobody->pw_uid);
        const std::string gid = std::to_string(nobody->pw_gid);
        fs::permissions(folder.path(), fs::perms(0755));
        return run(arguments, "",
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
#endif

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
    const auto begin = [&] {
        writeBytes(log, wsjtx);
        writeBytes(merge, other);
        std::filesystem::remove(backup);
        return start({"--folder", bytesFromPath(folder.path()), "wsjtx-update", bytesFromPath(log), bytesFromPath(merge)});
    };

    const auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(begin()->wait(), 0);
    const auto whole = std::chrono::steady_clock::now() - began;
    const std::string merged = readBytes(log);
    ASSERT_NE(merged, wsjtx);
    ASSERT_EQ(readBytes(merge), merged);

    for (int step = 0; step <= 12; ++step) {
        const auto child = begin();
        std::this_thread::sleep_for(whole * step / 10);
        child->kill();
        const std::string now = readBytes(log);
        EXPECT_TRUE(now == wsjtx || now == merged) << "step " << step;
        const std::string mergeNow = readBytes(merge);
        EXPECT_TRUE(mergeNow == other || mergeNow == merged) << "step " << step;
        if (std::filesystem::exists(backup)) {
            EXPECT_EQ(readBytes(backup), wsjtx) << "step " << step;
        }
    }
}

// Logs a contact every few milliseconds into `log`, as the WSJT-X program
// does (open, append, close) or keeping the file open, until it is stopped;
// it says how many it appended. Another program to the one updating the log.
class Appender {
public:
    Appender(const std::filesystem::path& log, bool keepOpen)
        : thread_([this, log, keepOpen](std::stop_token stop) { appended_ = appendUntilStopped(log, keepOpen, stop); })
    {
    }

    // Stops it; the number of contacts it appended, -1 when one could not be.
    int stop()
    {
        thread_.request_stop();
        thread_.join();
        return appended_;
    }

    static std::string callOf(int i) { return "Y" + std::to_string(100000 + i); }

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
#ifdef _WIN32
    // Shared as the WSJT-X program shares it: reading and writing, not its
    // removal. The update holds it for a moment now and then, when the open
    // is refused and tried again.
    using File = HANDLE;
    static File openToAppend(const std::filesystem::path& log, const std::stop_token& stop)
    {
        for (;;) {
            const HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION || stop.stop_requested())
                return file;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    static bool append(File file, const std::string& record)
    {
        DWORD written = 0;
        return WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr)
            && written == record.size();
    }
    static bool isOpen(File file) { return file != INVALID_HANDLE_VALUE; }
    static void close(File file) { CloseHandle(file); }
#else
    using File = int;
    // Not inherited by the batch front end, which would then hold it too.
    static File openToAppend(const std::filesystem::path& log, const std::stop_token&)
    {
        return ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }
    static bool append(File file, const std::string& record)
    {
        return ::write(file, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    }
    static bool isOpen(File file) { return file >= 0; }
    static void close(File file) { ::close(file); }
#endif

    static int appendUntilStopped(const std::filesystem::path& log, bool keepOpen, const std::stop_token& stop)
    {
        File file = keepOpen ? openToAppend(log, stop) : File{};
        int i = 0;
        for (; !stop.stop_requested(); ++i) {
            const std::string record = "<call:7>" + callOf(i) + " <qso_date:8>20261207 <time_on:6>"
                + std::to_string(100000 + i % 100000) + " <band:3>20m <mode:3>FT8 <eor>\n";
            if (!keepOpen)
                file = openToAppend(log, stop);
            if (!isOpen(file) || !append(file, record))
                return -1;
            if (!keepOpen)
                close(file);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        if (keepOpen && isOpen(file))
            close(file);
        return i;
    }

    int appended_ = -1;
    std::jthread thread_;  // last: it runs once the rest is made
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
            const int status = start({"--folder", bytesFromPath(folder.path()), "wsjtx-update", bytesFromPath(log),
                                      bytesFromPath(merge)})
                                   ->wait();
            ASSERT_TRUE(status == 0 || status == 1) << status;
            replaced += status == 0 ? 1 : 0;
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
