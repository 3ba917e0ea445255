// The POSIX file layer: each of its system calls made to fail.

#include "engine_fixture.h"
#include "files/file_descriptor.h"
#include "file_system_testing.h"
#include "workbench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

// A system call whose `nth` call fails with `error`; every call when `nth` is 0.
template <typename Call>
void fail(Call& call, int nth, int error)
{
    auto real = call;
    auto count = std::make_shared<int>(0);
    call = [real, count, nth, error](auto... arguments) {
        if (++*count == nth || nth == 0) {
            errno = error;
            return static_cast<decltype(real(arguments...))>(-1);
        }
        return real(arguments...);
    };
}

TEST(StdFileSystem, PutsEveryFileBackWhenALaterRenameFails)
{
    TemporaryFolder folder;
    SystemCalls calls = SystemCalls::real();
    fail(calls.rename, 2, EIO);
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
    fail(calls.link, 2, EXDEV);            // the second target is to be copied instead,
    fail(calls.makeTemporary, 3, EMFILE);  // and its copy cannot be begun
    StdFileSystem files(calls);
    folder.write("a.adi", "old a");
    folder.write("b.adi", "old b");
    EXPECT_THROW(write(files, {folder / "a.adi", folder / "b.adi"}, {"new a", "new b"}), FileError);
    EXPECT_EQ(folder.read("a.adi"), "old a");
    EXPECT_EQ(folder.read("b.adi"), "old b");
    EXPECT_EQ(folder.entryCount(), 2);
}

// The descriptors this process has open.
long openDescriptors()
{
    return static_cast<long>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// Each call that can fail while a file is written: the file stays whole, no
// temporary file is left, and no descriptor stays open.
TEST(StdFileSystem, AFailingCallLeavesTheFileWhole)
{
    // The program's own files are not read, nor synced: those calls fail a replacement only.
    const struct {
        const char* name;
        std::function<void(SystemCalls&)> make;
        bool failsAWrite;
    } faults[] = {
        {"makeTemporary", [](SystemCalls& c) { fail(c.makeTemporary, 0, EMFILE); }, true},
        {"write", [](SystemCalls& c) { fail(c.write, 0, ENOSPC); }, true},
        {"fchmod", [](SystemCalls& c) { fail(c.fchmod, 0, EPERM); }, true},
        // As the system's close does: the descriptor is gone, even when the close reports an error.
        {"close", [](SystemCalls& c) { c.close = [](int fd) { ::close(fd); errno = EIO; return -1; }; }, true},
        {"rename", [](SystemCalls& c) { fail(c.rename, 0, EXDEV); }, true},
        {"fsync", [](SystemCalls& c) { fail(c.fsync, 0, EIO); }, false},
        {"open", [](SystemCalls& c) { fail(c.open, 0, EACCES); }, false},
        {"fcntl", [](SystemCalls& c) { fail(c.fcntl, 0, EINVAL); }, false},
        {"read", [](SystemCalls& c) { fail(c.read, 0, EIO); }, false},
    };
    for (const auto& [name, make, failsAWrite] : faults) {
        SCOPED_TRACE(name);
        TemporaryFolder folder;
        const auto source = folder.write("Logweave.adi", "merged log");
        const auto log = folder.write("wsjtx_log.adi", "the only copy");
        SystemCalls calls = SystemCalls::real();
        make(calls);
        StdFileSystem files(calls);
        const long descriptors = openDescriptors();
        EXPECT_THROW(files.replaceUserFile(log, source), FileError);
        if (failsAWrite) {
            EXPECT_THROW(write(files, {log}, {"new"}), FileError);
        }
        EXPECT_EQ(openDescriptors(), descriptors);
        EXPECT_EQ(folder.read("wsjtx_log.adi"), "the only copy");
        EXPECT_EQ(folder.entryCount(), 2);
    }
}

// The earlier version of a replaced file loses its names at the commit and is
// freed after it, by the time the file system goes, also when it cannot be
// held open to be freed later.
TEST(StdFileSystem, FreesEveryEarlierVersionOfAReplacedFile)
{
    for (const bool holdFails : {false, true}) {
        SCOPED_TRACE(holdFails ? "not held" : "held");
        TemporaryFolder folder;
        const auto log = folder.write("Logweave.adi", "first merge");
        const auto list = folder.write("Logweave.log", "first list");
        SystemCalls calls = SystemCalls::real();
        const FileDescriptor first(calls, ::open(log.c_str(), O_RDONLY | O_CLOEXEC));
        const long descriptors = openDescriptors();
        if (holdFails)
            fail(calls.open, 0, EMFILE);
        {
            StdFileSystem files(calls);
            write(files, {log, list}, {"second merge", "second list"});
            write(files, {log, list}, {"third merge", "third list"});
            EXPECT_EQ(folder.read("Logweave.adi"), "third merge");
            EXPECT_EQ(folder.read("Logweave.log"), "third list");
            EXPECT_EQ(folder.entryCount(), 2);
            struct stat info {};
            ASSERT_EQ(::fstat(first.get(), &info), 0);
            EXPECT_EQ(info.st_nlink, 0U);
        }
        EXPECT_EQ(openDescriptors(), descriptors);
    }
}

// A disk that a file replaced just before still fills: its freeing is
// waited for, and the write made again.
TEST(StdFileSystem, WritesAgainOnceTheFileReplacedBeforeIsFreed)
{
    TemporaryFolder folder;
    const auto tidy = folder.write("Adif_File.adi", "earlier copy");
    SystemCalls calls = SystemCalls::real();
    fail(calls.write, 2, ENOSPC);  // the first write after the replacement
    StdFileSystem files(calls);
    write(files, {tidy}, {"tidy copy"});
    write(files, {folder / "Adif_Filtre1.adi"}, {"kept"});
    EXPECT_EQ(folder.read("Adif_File.adi"), "tidy copy");
    EXPECT_EQ(folder.read("Adif_Filtre1.adi"), "kept");
}

// A disk that fills while a merge is written, on this thread or on the second
// one: the merge stops and says why, and every file and the open log stay as
// they were.
TEST(StdFileSystem, ADiskThatFillsWhileAMergeIsWrittenLeavesEveryFileAsItWas)
{
    TemporaryFolder folder;
    // Megabytes of contacts: the merged files are written while the merge goes on.
    std::string log = "made by hand<eoh>\n";
    for (int i = 0; i < 20000; ++i)
        log += qso("K" + std::to_string(i), "20230101", std::to_string(100000 + i), "<COMMENT:40>" + std::string(40, 'o'));
    folder.write("open.adi", log);
    folder.write("added.adi", log);
    for (const unsigned threads : {1U, 2U}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        Workbench bench(folder / ("threads" + std::to_string(threads)));
        bench.session.threads = threads;
        // Full for one write only: a failure that got lost would go unseen.
        const auto full = std::make_shared<std::atomic<bool>>(false);
        SystemCalls calls = SystemCalls::real();
        calls.write = [write = calls.write, full](int fd, const void* data, std::size_t size) -> ssize_t {
            if (!full->exchange(false))
                return write(fd, data, size);
            errno = ENOSPC;
            return -1;
        };
        bench.files.real = StdFileSystem(calls);
        ASSERT_EQ(bench.read(folder / "open.adi"), Outcome::Done) << bench.ui.pane;
        folder.write("threads" + std::to_string(threads) + "/Logweave.adi", "earlier\r\n");
        *full = true;
        EXPECT_EQ(mergeAddedLog(bench.store, bench.session, (folder / "added.adi").string(), bench.ui.options),
                  Outcome::Stopped);
        EXPECT_NE(bench.ui.pane.find((bench.session.programFolder / "Logweave.adi").string()), std::string::npos)
            << bench.ui.pane;
        EXPECT_TRUE(bench.written("Logweave.adi") == "earlier\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(bench.session.programFolder), {}), 3);  // the tidy copy and its names
        EXPECT_EQ(bench.store.openRecordCount(), 20000);
    }
}

// A signal that interrupts a call, as one may while a slow file system
// keeps it waiting, does not fail the reading or the writing.
TEST(StdFileSystem, MakesAnInterruptedCallAgain)
{
    const std::pair<const char*, std::function<void(SystemCalls&)>> interruptions[] = {
        {"open", [](SystemCalls& c) { fail(c.open, 1, EINTR); }},
        {"read", [](SystemCalls& c) { fail(c.read, 1, EINTR); }},
        {"write", [](SystemCalls& c) { fail(c.write, 1, EINTR); }},
    };
    for (const auto& [name, make] : interruptions) {
        SCOPED_TRACE(name);
        TemporaryFolder folder;
        const auto source = folder.write("Logweave.adi", "merged log");
        const auto log = folder.write("wsjtx_log.adi", "the only copy");
        SystemCalls calls = SystemCalls::real();
        make(calls);
        StdFileSystem files(calls);
        EXPECT_EQ(files.readFile(source).view(), "merged log");
        files.replaceUserFile(log, source);
        EXPECT_EQ(folder.read("wsjtx_log.adi"), "merged log");
    }
}

// A large file read in pieces side by side: the same bytes as in one piece,
// the reading left at the end, even when the system cuts a piece short,
// interrupts one, or fails one.
TEST(StdFileSystem, ReadsALargeFileInPiecesSideBySideAsInOne)
{
    TemporaryFolder folder;
    // Rounds of two and three 16 MiB pieces, then a rest: no piece of any size
    // holds the same bytes as another.
    std::string content((std::size_t{50} << 20) + 12345, '\0');
    std::uint32_t state = 1;
    for (char& c : content)
        c = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    const auto path = folder.write("big.adi", content);
    const auto readWith = [&](const SystemCalls& calls, unsigned threads) {
        StdFileSystem files(calls);
        const auto reader = files.openForReading(path);
        const Bytes bytes = readAll(*reader, content.size(), threads);
        EXPECT_EQ(reader->extent().bytes, content.size());
        EXPECT_EQ(reader->extent().atEnd, reader->stamp());
        return bytes.view() == content;
    };
    for (const unsigned threads : {1u, 2u, 3u})
        EXPECT_TRUE(readWith(SystemCalls::real(), threads)) << threads << " threads";

    SystemCalls endsEarly = SystemCalls::real();  // as a file cut while it is read
    endsEarly.pread = [pread = endsEarly.pread](int fd, void* data, std::size_t size, off_t offset) -> ssize_t {
        constexpr off_t kCut = off_t{20} << 20;
        return offset >= kCut ? 0 : pread(fd, data, std::min<std::size_t>(size, kCut - offset), offset);
    };
    EXPECT_TRUE(readWith(endsEarly, 2)) << "the rest is read on from where the pieces stopped";
    SystemCalls interrupted = SystemCalls::real();
    fail(interrupted.pread, 2, EINTR);
    EXPECT_TRUE(readWith(interrupted, 2));

    SystemCalls failing = SystemCalls::real();
    fail(failing.pread, 2, EIO);
    StdFileSystem files(failing);
    const auto reader = files.openForReading(path);
    try {
        readAll(*reader, content.size(), 2);
        ADD_FAILURE() << "a failed read went unnoticed";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        EXPECT_EQ(error.action(), FileError::Action::Read);
    }
}

TEST(StdFileSystem, ReplacesAUserFileKeepingItsPermissionsWhereItsLinkLeads)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const auto source = folder.write("Logweave.adi", "new");
    const auto log = folder.write("real/wsjtx_log.adi", "old");
    ::chmod(log.c_str(), 0640);
    fs::create_directory(folder / "station");
    fs::create_symlink(log, folder / "station" / "wsjtx_log.adi");
    files.replaceUserFile(folder / "station" / "wsjtx_log.adi", source);
    EXPECT_TRUE(fs::is_symlink(folder / "station" / "wsjtx_log.adi"));
    EXPECT_EQ(folder.read("real/wsjtx_log.adi"), "new");
    struct stat info {};
    ASSERT_EQ(::stat(log.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A read-only file is refused, whoever runs the program.
    ::chmod(log.c_str(), 0440);
    folder.write("Logweave.adi", "newer");
    EXPECT_THROW(files.replaceUserFile(log, source), FileError);
    EXPECT_EQ(folder.read("real/wsjtx_log.adi"), "new");
}

// The dated copy of a log is the log itself under a second name, so that what
// is appended to it after it is replaced stays in a file; where the file
// system has no hard links, a copy.
TEST(StdFileSystem, KeepsTheFileReadUnderASecondNameOrAsACopy)
{
    for (const bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "hard links" : "no hard links");
        TemporaryFolder folder;
        SystemCalls calls = SystemCalls::real();
        if (!hardLinks)
            fail(calls.link, 0, EPERM);
        StdFileSystem files(calls);
        const auto log = folder.write("wsjtx_log.adi", "the log");
        const auto read = files.openForReading(log);
        EXPECT_EQ(files.keepSecondName(log, *read, folder / "copy.bak"), BackupResult::Made);
        EXPECT_EQ(files.keepSecondName(log, *read, folder / "copy.bak"), BackupResult::EarlierKept);
        EXPECT_EQ(fs::equivalent(log, folder / "copy.bak"), hardLinks);
        EXPECT_EQ(folder.read("copy.bak"), "the log");

        // Another file under the log's name since it was read is not the one to keep.
        fs::rename(folder.write("another.adi", "another log"), log);
        EXPECT_THROW(files.keepSecondName(log, *read, folder / "other.bak"), FileError);
        EXPECT_FALSE(folder.exists("other.bak"));
    }
}

}  // namespace
}  // namespace logweave::testing
