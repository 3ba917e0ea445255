// What the engine finds under the names it reads: only a regular file is
// read, and read to its end.

#include "engine_fixture.h"

#include "logweave/automation_config.h"
#include "writing/field_order.h"

#include <chrono>
#include <functional>
#include <tuple>
#ifndef _WIN32
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <stop_token>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#endif

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

#ifndef _WIN32
void makeSocket(const fs::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.native().size(), sizeof address.sun_path);
    path.native().copy(address.sun_path, path.native().size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);  // the socket's name stays
}

// Should a reading wait on a named pipe, a writer comes after a while and
// goes at once: the reading then ends, and the test fails instead of hanging.
class LateWriter {
public:
    explicit LateWriter(fs::path pipe)
        : thread_([pipe = std::move(pipe)](std::stop_token stop) {
              std::mutex mutex;
              std::condition_variable_any stopped;
              std::unique_lock lock(mutex);
              stopped.wait_for(lock, stop, 5s, [] { return false; });
              if (stop.stop_requested())
                  return;
              if (const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
                  ::close(fd);
          })
    {
    }

private:
    std::jthread thread_;
};

#endif

using InputFilesTest = EngineTest;

// A log, a field order list and the configuration file that are no regular
// file are refused at once: a named pipe would keep the reading waiting for
// a writer, a device such as /dev/zero would never end.
TEST_F(InputFilesTest, RefusesAtOnceWhatIsNoRegularFile)
{
#ifdef _WIN32
    // A folder for each; a device by a name Windows gives it in every folder
    // (Logweave.cfg can be none). Opening a serial port acts on it.
    const fs::path config = folder / "Logweave.cfg";
    fs::create_directory(config);
    EXPECT_FALSE(readAutomationFile(files, folder.path(), {}).has_value());
    const std::tuple<fs::path, fs::path, NotRegularFile> kinds[] = {
        {folder / "log.adi", folder / "order.txt", NotRegularFile::Folder},
        {folder / "COM1.adi", folder / "nul.txt", NotRegularFile::Device},
    };
    fs::create_directory(folder / "log.adi");
    fs::create_directory(folder / "order.txt");
    for (const auto& [log, order, kind] : kinds) {
        SCOPED_TRACE(bytesFromPath(log));
        ui.pane.clear();
        const auto began = std::chrono::steady_clock::now();
        EXPECT_EQ(readOpenLog(store, session, bytesFromPath(log), ui.options), Outcome::Stopped);
        EXPECT_EQ(ui.pane, pane::fileError(FileError(FileError::Action::Read, log, kind)));
        ui.pane.clear();
        EXPECT_FALSE(loadFieldOrder(session, bytesFromPath(order)));
        EXPECT_EQ(ui.pane, pane::fieldOrderUnreadable(bytesFromPath(order), FileError(FileError::Action::Read, order, kind)));
        EXPECT_LT(std::chrono::steady_clock::now() - began, 2s);
        EXPECT_FALSE(fs::exists(folder / "Adif_File.adi"));
    }
#else
    const struct {
        const char* name;
        std::function<void(const fs::path&)> make;
        NotRegularFile kind;
    } kinds[] = {
        {"named pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, NotRegularFile::NamedPipe},
        {"device", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }, NotRegularFile::Device},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, NotRegularFile::Folder},
        {"socket", makeSocket, NotRegularFile::Socket},
    };
    for (const auto& [name, make, kind] : kinds) {
        SCOPED_TRACE(name);
        ui.pane.clear();
        const fs::path programFolder = folder / name;
        fs::create_directory(programFolder);
        session.programFolder = programFolder;
        const fs::path log = programFolder / "log.adi";
        const fs::path order = programFolder / "order.txt";
        const fs::path config = programFolder / "Logweave.cfg";
        for (const auto& path : {log, order, config})
            make(path);
        const LateWriter logWriter(log), orderWriter(order), configWriter(config);
        const auto began = std::chrono::steady_clock::now();

        EXPECT_EQ(readOpenLog(store, session, log.string(), ui.options), Outcome::Stopped);
        EXPECT_EQ(ui.pane, pane::fileError(FileError(FileError::Action::Read, log, kind)));
        ui.pane.clear();
        EXPECT_FALSE(loadFieldOrder(session, order.string()));
        EXPECT_EQ(ui.pane, pane::fieldOrderUnreadable(order.string(), FileError(FileError::Action::Read, order, kind)));
        EXPECT_FALSE(readAutomationFile(files, programFolder, {}).has_value());

        EXPECT_LT(std::chrono::steady_clock::now() - began, 2s);
        EXPECT_EQ(fs::exists(programFolder / "Adif_File.adi"), false);
    }
#endif
}

// A named pipe that takes the name between the look at it and the open
// (here the look is told it is a regular file) keeps nothing waiting.
TEST_F(InputFilesTest, RefusesAPipeThatTookTheNameAfterTheLook)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows: named pipes live apart, under \\\\.\\pipe\\, and never take a file's name";
#else
    const fs::path pipe = folder / "log.adi";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    SystemCalls calls = SystemCalls::real();
    calls.stat = [](const char* path, struct stat* info) {
        const int result = ::stat(path, info);
        info->st_mode = (info->st_mode & ~S_IFMT) | S_IFREG;
        return result;
    };
    files.real = StdFileSystem(calls);
    const LateWriter writer(pipe);
    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(readOpenLog(store, session, pipe.string(), ui.options), Outcome::Stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 2s);
    EXPECT_EQ(ui.pane, pane::fileError(FileError(FileError::Action::Read, pipe, NotRegularFile::NamedPipe)));
#endif
}

// A file whose size, as the system tells it, falls short of what it holds
// (files under /proc tell 0) is read to its end all the same, also when its
// records are put in order as they are read again.
TEST_F(InputFilesTest, ReadsALogToItsEndWhateverSizeTheSystemTells)
{
    const std::string log = "h<EOH>\n" + qso("Q1CCC", "20230103", "1000") + qso("Q1AAA", "20230101", "1000")
        + qso("Q1BBB", "20230102", "1000") + qso("Q1DDD", "20230104", "1000");
    ASSERT_EQ(open(log), Outcome::Done);
    const std::string written = folder.read("Adif_File.adi");
    ASSERT_EQ(store.openRecordCount(), 4);

    for (const long told : {0L, 1L, static_cast<long>(log.size() / 2)}) {
        SCOPED_TRACE("size told: " + std::to_string(told));
        SystemCalls calls = SystemCalls::real();
#ifdef _WIN32
        calls.fileInformation = [told, real = calls.fileInformation](WinHandle file, WinFileInformation* information) {
            const WinBool result = real(file, information);
            information->size = static_cast<std::uint64_t>(told);
            return result;
        };
#else
        calls.fstat = [told](int fd, struct stat* info) {
            const int result = ::fstat(fd, info);
            info->st_size = told;
            return result;
        };
#endif
        files.real = StdFileSystem(calls);
        fs::remove(folder / "Adif_File.adi");
        ASSERT_EQ(open(log), Outcome::Done) << ui.pane;
        EXPECT_EQ(store.openRecordCount(), 4);
        EXPECT_EQ(folder.read("Adif_File.adi"), written);
        EXPECT_EQ(files.readFile(folder / "open.adi").view(), log);
    }
}

}  // namespace
}  // namespace logweave::testing
