// What the fuzz targets' checks rely on of the in-memory file system: a
// stopped operation's batch leaves its files as they were, and a reader
// keeps the content it opened.

#include "memory_file_system.h"

#include <gtest/gtest.h>

namespace logweave::testing {
namespace {

TEST(MemoryFileSystem, ABatchReachesItsTargetsOnlyAtItsCommit)
{
    MemoryFileSystem files;
    files.put("/p/a.adi", "earlier");
    files.writeFiles({"/p/a.adi", "/p/b.txt"})->file(0).write("lost");
    EXPECT_EQ(files.content("/p/a.adi"), "earlier");
    EXPECT_EQ(files.fileCount(), 1u);

    const auto batch = files.writeFiles({"/p/a.adi", "/p/b.txt"});
    batch->file(0).write("new ");
    batch->file(0).write("a");
    EXPECT_EQ(files.content("/p/a.adi"), "earlier");
    batch->commit();
    EXPECT_EQ(files.content("/p/a.adi"), "new a");
    EXPECT_EQ(files.content("/p/b.txt"), "");
}

TEST(MemoryFileSystem, AReaderKeepsWhatItOpenedAndTheStampTellsTheChange)
{
    MemoryFileSystem files;
    files.put("/in/log.adi", "old text");
    const auto reader = files.openForReading("/in/../in/log.adi");
    const FileReader::Stamp before = reader->stamp();
    files.writeFile("/in/log.adi", "new text");
    char buffer[5];
    EXPECT_EQ(reader->read(buffer, 5), 5u);
    EXPECT_EQ(reader->read(buffer, 5), 3u);
    EXPECT_EQ(reader->read(buffer, 5), 0u);
    reader->rewind();
    EXPECT_EQ(readAll(*reader, 0).view(), "old text");
    EXPECT_EQ(reader->stamp(), before);
    EXPECT_NE(files.openForReading("/in/log.adi")->stamp(), before);  // same size, later change
    EXPECT_THROW(files.openForReading("/in/none.adi"), FileError);
}

}  // namespace
}  // namespace logweave::testing
