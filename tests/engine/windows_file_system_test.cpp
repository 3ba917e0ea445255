// The Windows file layer: each of its calls made to fail, files another
// program holds open, names in any script, devices.

#include "file_system_testing.h"
#include "system_call_hooks.h"

#include <windows.h>

#include <memory>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

template <typename Result>
Result failure();
template <>
WinBool failure<WinBool>()
{
    return FALSE;
}

// A call whose `nth` call fails with `error`; every call when `nth` is 0.
template <typename Result, typename... Arguments>
void fail(std::function<Result(Arguments...)>& call, int nth, DWORD error)
{
    call = [real = call, count = std::make_shared<int>(0), nth, error](Arguments... arguments) {
        if (++*count == nth || nth == 0) {
            SetLastError(error);
            return failure<Result>();
        }
        return real(arguments...);
    };
}

// The `nth` file the layer makes of its own (a temporary file) cannot be made.
void failNewFile(SystemCalls& calls, int nth, DWORD error)
{
    calls.createFile = [real = calls.createFile, count = std::make_shared<int>(0), nth, error](
                           const wchar_t* path, WinDword access, WinDword share, WinDword disposition, WinDword flags) {
        if (disposition == CREATE_NEW && (++*count == nth || nth == 0)) {
            SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
        return real(path, access, share, disposition, flags);
    };
}

long openHandles()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return static_cast<long>(count);
}

// Another program's hold on a file, as the WSJT-X program's while it
// appends: for writing, sharing reading and writing but not its removal.
class Holder {
public:
    explicit Holder(const fs::path& file)
        : handle_(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~Holder() { letGo(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    void letGo()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
    }

private:
    HANDLE handle_;
};

// Appends as the WSJT-X program does: open, append, close.
void appendTo(const fs::path& file, std::string_view bytes)
{
    const HANDLE handle = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(handle);
}

TEST(StdFileSystem, PutsEveryFileBackWhenALaterRenameFails)
{
    TemporaryFolder folder;
    SystemCalls calls = SystemCalls::real();
    fail(calls.moveFile, 2, ERROR_NOT_SAME_DEVICE);
    StdFileSystem files(calls);
    folder.write("Logweave.adi", "earlier merge");
    EXPECT_THROW(write(files, {folder / "Logweave.adi", folder / "Logweave.log", folder / "third"}, {"merged", "list", "x"}),
                 FileError);
    EXPECT_EQ(folder.read("Logweave.adi"), "earlier merge");
    EXPECT_FALSE(folder.exists("Logweave.log"));
    EXPECT_EQ(folder.entryCount(), 1);
}

TEST(StdFileSystem, LeavesNoLinkBehindWhenAnEarlierFileCannotBeKept)
{
    TemporaryFolder folder;
    SystemCalls calls = SystemCalls::real();
    fail(calls.createHardLink, 2, ERROR_NOT_SUPPORTED);  // the second target is to be copied instead,
    failNewFile(calls, 3, ERROR_TOO_MANY_OPEN_FILES);     // and its copy cannot be begun
    StdFileSystem files(calls);
    folder.write("a.adi", "old a");
    folder.write("b.adi", "old b");
    EXPECT_THROW(write(files, {folder / "a.adi", folder / "b.adi"}, {"new a", "new b"}), FileError);
    EXPECT_EQ(folder.read("a.adi"), "old a");
    EXPECT_EQ(folder.read("b.adi"), "old b");
    EXPECT_EQ(folder.entryCount(), 2);
}

// Each call that can fail while a file is written: the file stays whole, no
// temporary file is left, and no handle stays open.
TEST(StdFileSystem, AFailingCallLeavesTheFileWhole)
{
    // The program's own files are not read, nor flushed: those calls fail a replacement only.
    const struct {
        const char* name;
        std::function<void(SystemCalls&)> make;
        bool failsAWrite;
    } faults[] = {
        {"createFile, new", [](SystemCalls& c) { failNewFile(c, 0, ERROR_TOO_MANY_OPEN_FILES); }, true},
        {"writeFile", [](SystemCalls& c) { fail(c.writeFile, 0, ERROR_DISK_FULL); }, true},
        // As the system's own: the handle is gone, even when the close reports an error.
        {"closeHandle",
         [](SystemCalls& c) {
             c.closeHandle = [](WinHandle handle) {
                 CloseHandle(handle);
                 SetLastError(ERROR_GEN_FAILURE);
                 return FALSE;
             };
         },
         true},
        {"moveFile", [](SystemCalls& c) { fail(c.moveFile, 0, ERROR_NOT_SAME_DEVICE); }, true},
        {"flushFileBuffers", [](SystemCalls& c) { fail(c.flushFileBuffers, 0, ERROR_GEN_FAILURE); }, false},
        {"readFile", [](SystemCalls& c) { fail(c.readFile, 0, ERROR_READ_FAULT); }, false},
        {"fileInformation", [](SystemCalls& c) { fail(c.fileInformation, 0, ERROR_INVALID_FUNCTION); }, false},
    };
    for (const auto& [name, make, failsAWrite] : faults) {
        SCOPED_TRACE(name);
        TemporaryFolder folder;
        const auto source = folder.write("Logweave.adi", "merged log");
        const auto log = folder.write("wsjtx_log.adi", "the only copy");
        SystemCalls calls = SystemCalls::real();
        make(calls);
        StdFileSystem files(calls);
        const long handles = openHandles();
        EXPECT_THROW(files.replaceUserFile(log, source), FileError);
        if (failsAWrite) {
            EXPECT_THROW(write(files, {log}, {"new"}), FileError);
        }
        EXPECT_EQ(openHandles(), handles);
        EXPECT_EQ(folder.read("wsjtx_log.adi"), "the only copy");
        EXPECT_EQ(folder.entryCount(), 2);
    }
}

// A file another program holds open is waited for a while, then named as
// such; let go meanwhile, it is replaced.
TEST(StdFileSystem, WaitsForAFileAnotherProgramHoldsThenSaysSo)
{
    TemporaryFolder folder;
    const auto source = folder.write("Logweave.adi", "merged log");
    const auto log = folder.write("wsjtx_log.adi", "the only copy");
    const auto list = folder.write("Logweave.log", "contact list");
    int waits = 0;
    Holder holder(log);
    StdFileSystem files(withoutWaits(&waits));
    try {
        files.replaceUserFile(log, source);
        ADD_FAILURE() << "replaced while held";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code().message(), "another program has it open");
        EXPECT_EQ(error.path(), log);
    }
    EXPECT_EQ(waits, 200);
    // Written with another file of the program's own: neither is replaced.
    EXPECT_THROW(write(files, {list, log}, {"new list", "new log"}), FileError);
    EXPECT_EQ(folder.read("Logweave.log"), "contact list");
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "the only copy");
    EXPECT_EQ(folder.entryCount(), 3);

    waits = 0;
    SystemCalls calls = withoutWaits();
    calls.pause = [&](std::chrono::milliseconds) {
        if (++waits == 5)
            holder.letGo();
    };
    StdFileSystem patient(calls);
    patient.replaceUserFile(log, source);
    EXPECT_EQ(waits, 5);
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "merged log");
}

TEST(StdFileSystem, RefusesToReplaceAReadOnlyFile)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const auto source = folder.write("Logweave.adi", "new");
    const auto log = folder.write("wsjtx_log.adi", "old");
    fs::permissions(log, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    try {
        files.replaceUserFile(log, source);
        ADD_FAILURE() << "a read-only file replaced";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), std::errc::permission_denied);
    }
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "old");
    EXPECT_EQ(folder.entryCount(), 2);
}

// Paths come to the engine as UTF-8 bytes and reach Windows as UTF-16.
TEST(StdFileSystem, ReadsAndWritesNamesInAnyScript)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const std::string folderName = "Journal \xC3\xA9t\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87";  // "Journal été 中文"
    const std::string logName = "F\xC3\xB8rst-\xCE\xB1.adi";                             // "Først-α.adi"
    const fs::path station = folder.path() / pathFromBytes(folderName);
    fs::create_directory(station);
    const fs::path log = station / pathFromBytes(logName);
    files.writeFile(log, "<call:5>Q1AAA <eor>\r\n");
    EXPECT_EQ(files.readFile(log).view(), "<call:5>Q1AAA <eor>\r\n");
    EXPECT_TRUE(fs::exists(folder.path() / L"Journal \u00e9t\u00e9 \u4e2d\u6587" / L"F\u00f8rst-\u03b1.adi"));
    EXPECT_EQ(files.fileNames(station), std::vector<std::string>{logName});
    const auto read = files.openForReading(log);
    EXPECT_EQ(files.keepSecondName(log, *read, pathFromBytes(bytesFromPath(log) + ".bak")), BackupResult::Made);
    EXPECT_EQ(readBytes(station / L"F\u00f8rst-\u03b1.adi.bak"), "<call:5>Q1AAA <eor>\r\n");
}

// Opening a device acts on it: a name Windows gives to one is refused
// unopened, wherever it stands.
TEST(StdFileSystem, RefusesDevicesAndFoldersAtOnce)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const std::pair<fs::path, NotRegularFile> kinds[] = {
        {L"NUL", NotRegularFile::Device},
        {folder / "COM1", NotRegularFile::Device},
        {folder / "lpt9.adi", NotRegularFile::Device},
        {L"\\\\.\\COM3", NotRegularFile::Device},
        {folder.path(), NotRegularFile::Folder},
    };
    for (const auto& [path, kind] : kinds) {
        SCOPED_TRACE(bytesFromPath(path));
        try {
            files.openForReading(path);
            ADD_FAILURE() << "opened";
        } catch (const FileError& error) {
            EXPECT_EQ(error.code(), kind);
        }
        EXPECT_FALSE(files.isRegularFile(path));
    }
    EXPECT_TRUE(files.isRegularFile(folder.write("COM10.adi", "not a port")));
}

// The dated copy of a log is the log itself under a second name; where the
// file system has no hard links, a copy.
TEST(StdFileSystem, KeepsTheFileReadUnderASecondNameOrAsACopy)
{
    for (const bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "hard links" : "no hard links");
        TemporaryFolder folder;
        SystemCalls calls = SystemCalls::real();
        if (!hardLinks)
            fail(calls.createHardLink, 0, ERROR_NOT_SUPPORTED);
        StdFileSystem files(calls);
        const auto log = folder.write("wsjtx_log.adi", "the log");
        const auto read = files.openForReading(log);
        EXPECT_EQ(files.keepSecondName(log, *read, folder / "copy.bak"), BackupResult::Made);
        EXPECT_EQ(files.keepSecondName(log, *read, folder / "copy.bak"), BackupResult::EarlierKept);
        EXPECT_EQ(fs::equivalent(log, folder / "copy.bak"), hardLinks);
        EXPECT_EQ(folder.read("copy.bak"), "the log");

        // Another file under the log's name since it was read is not the one to keep.
        fs::rename(log, folder / "moved.adi");
        folder.write("wsjtx_log.adi", "another log");
        EXPECT_THROW(files.keepSecondName(log, *read, folder / "other.bak"), FileError);
        EXPECT_FALSE(folder.exists("other.bak"));
    }
}

// What another program appends up to the very replacement is in the new
// file, once; while it keeps the file open for writing, nothing is replaced.
TEST(StdFileSystem, TakesInWhatIsAppendedUpToTheReplacement)
{
    const std::string contact = "<call:5>Q9LOG <eor>\n";
    for (const bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "hard links" : "no hard links");
        TemporaryFolder folder;
        const auto source = folder.write("Logweave.adi", "merged\n");
        const auto log = folder.write("wsjtx_log.adi", "old\n");
        SystemCalls calls = withoutWaits();
        if (!hardLinks)
            fail(calls.createHardLink, 0, ERROR_NOT_SUPPORTED);
        bool appended = false;
        runFirst(calls.moveFile, [&] {
            if (!std::exchange(appended, true))
                appendTo(log, contact);
        });
        StdFileSystem files(calls);
        const auto read = files.openForReading(log);
        static_cast<void>(readAll(*read, 0));
        appendTo(log, "<call:5>Q1ERL <eor>\n");
        const std::string taken = files.replaceAppendedFile(log, *read, source);
        // Without a second name, the append in the last instant is what is not taken in.
        const std::string late = hardLinks ? contact : "";
        EXPECT_EQ(taken, "<call:5>Q1ERL <eor>\n" + late);
        EXPECT_EQ(folder.read("wsjtx_log.adi"), "merged\n<call:5>Q1ERL <eor>\n" + late);
        EXPECT_EQ(folder.entryCount(), 2);
    }

    TemporaryFolder folder;
    const auto source = folder.write("Logweave.adi", "merged\n");
    const auto log = folder.write("wsjtx_log.adi", "old\n");
    int waits = 0;
    SystemCalls calls = withoutWaits(&waits);
    calls.openForWritingElsewhere = SystemCalls::real().openForWritingElsewhere;
    StdFileSystem files(calls);
    const auto read = files.openForReading(log);
    static_cast<void>(readAll(*read, 0));
    const Holder holder(log);
    try {
        files.replaceAppendedFile(log, *read, source);
        ADD_FAILURE() << "replaced while held for writing";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), LiveFileError::HeldForWriting);
    }
    EXPECT_EQ(waits, 200);
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "old\n");
    EXPECT_EQ(folder.entryCount(), 2);
}

}  // namespace
}  // namespace logweave::testing
