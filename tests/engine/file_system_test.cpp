#include "logweave/std_file_system.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(StdFileSystem, WritesFilesTogetherOrNotAtAll)
{
    TemporaryFolder folder;
    StdFileSystem files;
    folder.write("a.adi", "old a");
    EXPECT_THROW(files.writeFiles({{folder / "a.adi", "new a"}, {folder / "no-such-folder" / "b.adi", "b"}}),
                 FileError);
    EXPECT_EQ(folder.read("a.adi"), "old a");
    EXPECT_EQ(entriesIn(folder.path()), 1u);  // no temporary file left behind

    files.writeFiles({{folder / "a.adi", "new a"}, {folder / "b.adi", "b"}});
    EXPECT_EQ(folder.read("a.adi"), "new a");
    EXPECT_EQ(folder.read("b.adi"), "b");
}

TEST(StdFileSystem, PutsEveryFileBackWhenALaterRenameFails)
{
    TemporaryFolder folder;
    SystemCalls calls = SystemCalls::real();
    int renames = 0;
    calls.rename = [&renames](const char* from, const char* to) {
        if (++renames == 2) {
            errno = EIO;
            return -1;
        }
        return ::rename(from, to);
    };
    StdFileSystem files(calls);
    folder.write("Logweave.adi", "earlier merge");
    EXPECT_THROW(files.writeFiles({{folder / "Logweave.adi", "merged"}, {folder / "Logweave.log", "list"},
                                   {folder / "third", "x"}}),
                 FileError);
    EXPECT_EQ(folder.read("Logweave.adi"), "earlier merge");
    EXPECT_FALSE(folder.exists("Logweave.log"));
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(StdFileSystem, NamesTheFileAndTheReason)
{
    TemporaryFolder folder;
    StdFileSystem files;
    try {
        files.readFile(folder / "absent.adi");
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), folder / "absent.adi");
        EXPECT_EQ(error.reason(), "No such file or directory");
        EXPECT_EQ(error.action(), FileError::Action::Read);
    }
    EXPECT_THROW(files.readFile(folder.path()), FileError);
}

TEST(StdFileSystem, ReplacesAUserFileKeepingItsPermissions)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const auto log = folder.write("wsjtx_log.adi", "old");
    ::chmod(log.c_str(), 0640);
    files.replaceUserFile(log, "new");
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "new");
    struct stat info {};
    ASSERT_EQ(::stat(log.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A read-only file is refused, whoever runs the program.
    ::chmod(log.c_str(), 0440);
    EXPECT_THROW(files.replaceUserFile(log, "newer"), FileError);
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "new");
}

TEST(StdFileSystem, ADiskThatFillsUpLeavesTheFileAsItWas)
{
    TemporaryFolder folder;
    std::size_t room = 10;
    SystemCalls calls = SystemCalls::real();
    calls.write = [&room](int fd, const void* data, std::size_t size) -> std::ptrdiff_t {
        if (room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, room);
        room -= n;
        return ::write(fd, data, n);
    };
    StdFileSystem files(calls);
    folder.write("wsjtx_log.adi", "the only copy");
    try {
        files.replaceUserFile(folder / "wsjtx_log.adi", std::string(100, 'x'));
        FAIL() << "a full disk went unnoticed";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), folder / "wsjtx_log.adi");
        EXPECT_EQ(error.reason(), "No space left on device");
    }
    EXPECT_EQ(folder.read("wsjtx_log.adi"), "the only copy");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(StdFileSystem, ReplacesALogWhereItsLinkLeads)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const auto real = folder.write("real/wsjtx_log.adi", "old");
    std::filesystem::create_directory(folder / "station");
    std::filesystem::create_symlink(real, folder / "station" / "wsjtx_log.adi");
    files.replaceUserFile(folder / "station" / "wsjtx_log.adi", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "station" / "wsjtx_log.adi"));
    EXPECT_EQ(folder.read("real/wsjtx_log.adi"), "new");
}

TEST(StdFileSystem, NeverReplacesAnEarlierBackup)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const auto log = folder.write("station.adi", "first");
    EXPECT_EQ(files.backupFile(log, folder / "station.adi_old"), BackupResult::Made);
    writeBytes(log, "second");
    EXPECT_EQ(files.backupFile(log, folder / "station.adi_old"), BackupResult::EarlierKept);
    EXPECT_EQ(folder.read("station.adi_old"), "first");
    EXPECT_EQ(folder.read("station.adi"), "second");
    EXPECT_THROW(files.backupFile(folder / "absent.adi", folder / "absent.adi_old"), FileError);
}

TEST(StdFileSystem, FindsANameInAnyLetterCasePreferringTheExactOne)
{
    TemporaryFolder folder;
    StdFileSystem files;
    EXPECT_FALSE(files.findIgnoringCase(folder.path(), "Wsjtx.log"));
    folder.write("wsjtx.log", "");
    EXPECT_EQ(files.findIgnoringCase(folder.path(), "Wsjtx.log"), folder / "wsjtx.log");
    folder.write("Wsjtx.log", "");
    EXPECT_EQ(files.findIgnoringCase(folder.path(), "Wsjtx.log"), folder / "Wsjtx.log");
}

}  // namespace
}  // namespace logweave::testing
