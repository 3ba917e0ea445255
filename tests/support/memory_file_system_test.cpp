// The in-memory file system the fuzz targets run on behaves as the engine
// expects of a file system: what it reports there is what a disk would do.

#include "memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace logweave::testing {
namespace {

std::string readInBlocks(FileReader& reader, std::size_t block)
{
    std::string text;
    std::string buffer(block, '\0');
    while (const std::size_t n = reader.read(buffer.data(), buffer.size()))
        text.append(buffer, 0, n);
    return text;
}

TEST(MemoryFileSystem, ReadsInBlocksAndAgainAfterRewind)
{
    MemoryFileSystem files;
    files.put("/in/log.adi", "<CALL:5>Q1ABC <EOR>");
    const auto reader = files.openForReading("/in/log.adi");
    EXPECT_EQ(reader->stamp().size, 19u);
    EXPECT_EQ(readInBlocks(*reader, 4), "<CALL:5>Q1ABC <EOR>");
    EXPECT_EQ(readInBlocks(*reader, 4), "");
    reader->rewind();
    EXPECT_EQ(readInBlocks(*reader, 7), "<CALL:5>Q1ABC <EOR>");
    EXPECT_EQ(files.readFile("/in/../in/log.adi").view(), "<CALL:5>Q1ABC <EOR>");
}

TEST(MemoryFileSystem, MissingFileIsAReadErrorNamingIt)
{
    MemoryFileSystem files;
    try {
        files.openForReading("/in/none.adi");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.action(), FileError::Action::Read);
        EXPECT_EQ(error.path(), "/in/none.adi");
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
    }
}

TEST(MemoryFileSystem, BatchReachesItsTargetsOnlyAtTheCommit)
{
    MemoryFileSystem files;
    files.put("/p/a.adi", "earlier");
    {
        const auto batch = files.writeFiles({"/p/a.adi", "/p/b.txt"});
        batch->file(0).write("new ");
        batch->file(0).write("a");
        batch->file(1).write("b");
        EXPECT_EQ(files.content("/p/a.adi"), "earlier");
        EXPECT_FALSE(files.isRegularFile("/p/b.txt"));
        batch->commit();
    }
    EXPECT_EQ(files.content("/p/a.adi"), "new a");
    EXPECT_EQ(files.content("/p/b.txt"), "b");
}

TEST(MemoryFileSystem, DroppedBatchLeavesEveryTargetAsItWas)
{
    MemoryFileSystem files;
    files.put("/p/a.adi", "earlier");
    {
        const auto batch = files.writeFiles({"/p/a.adi", "/p/b.txt"});
        batch->file(0).write("lost");
        batch->file(1).write("lost");
    }
    EXPECT_EQ(files.content("/p/a.adi"), "earlier");
    EXPECT_FALSE(files.isRegularFile("/p/b.txt"));
    EXPECT_EQ(files.fileCount(), 1u);
}

TEST(MemoryFileSystem, ReaderKeepsTheContentItOpenedAndTheStampTellsTheChange)
{
    MemoryFileSystem files;
    files.put("/in/log.adi", "old");
    const auto reader = files.openForReading("/in/log.adi");
    const FileReader::Stamp before = reader->stamp();
    files.writeFile("/in/log.adi", "new");
    EXPECT_EQ(readInBlocks(*reader, 2), "old");
    EXPECT_EQ(reader->stamp(), before);
    EXPECT_NE(files.openForReading("/in/log.adi")->stamp(), before);  // same size, later change
}

TEST(MemoryFileSystem, ReplaceCopiesTheSourceAndAMissingSourceIsAReadError)
{
    MemoryFileSystem files;
    files.put("/u/wsjtx_log.adi", "old");
    files.put("/p/merged.adi", "merged");
    files.replaceUserFile("/u/wsjtx_log.adi", "/p/merged.adi");
    EXPECT_EQ(files.content("/u/wsjtx_log.adi"), "merged");
    EXPECT_EQ(files.content("/p/merged.adi"), "merged");
    try {
        files.replaceUserFile("/u/wsjtx_log.adi", "/p/none.adi");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.action(), FileError::Action::Read);
        EXPECT_EQ(error.path(), "/p/none.adi");
    }
    EXPECT_EQ(files.content("/u/wsjtx_log.adi"), "merged");
}

TEST(MemoryFileSystem, BackupNeverOverAnExistingFile)
{
    MemoryFileSystem files;
    files.put("/u/log.adi", "first");
    EXPECT_EQ(files.backupFile("/u/log.adi", "/u/log.adi_old"), BackupResult::Made);
    files.put("/u/log.adi", "second");
    EXPECT_EQ(files.backupFile("/u/log.adi", "/u/log.adi_old"), BackupResult::EarlierKept);
    EXPECT_EQ(files.content("/u/log.adi_old"), "first");
    EXPECT_THROW(files.backupFile("/u/none.adi", "/u/none.bak"), FileError);
    EXPECT_FALSE(files.isRegularFile("/u/none.bak"));
}

TEST(MemoryFileSystem, RemoveAndListFolders)
{
    MemoryFileSystem files;
    files.put("/u/Log.ADI", "a");
    files.put("/u/b.bak", "b");
    files.put("/u/sub/c.adi", "c");
    files.put("d.adi", "d");
    std::vector<std::string> names = files.fileNames("/u/");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Log.ADI", "b.bak"}));
    EXPECT_EQ(files.fileNames("."), std::vector<std::string>{"d.adi"});
    EXPECT_EQ(findIgnoringCase(files, "/u", "log.adi"), std::filesystem::path("/u/Log.ADI"));
    files.removeFile("/u/b.bak");
    EXPECT_FALSE(files.isRegularFile("/u/b.bak"));
    EXPECT_THROW(files.removeFile("/u/b.bak"), FileError);
}

}  // namespace
}  // namespace logweave::testing
