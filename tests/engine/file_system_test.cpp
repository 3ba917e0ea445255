// The file layer as the engine uses it, the same on every system.

#include "file_system_testing.h"

namespace logweave::testing {
namespace {

TEST(StdFileSystem, WritesFilesTogetherOrNotAtAll)
{
    TemporaryFolder folder;
    StdFileSystem files;
    folder.write("a.adi", "old a");
    // The second file cannot be begun: the first one's temporary file goes too.
    EXPECT_THROW(write(files, {folder / "a.adi", folder / "no-such-folder" / "b.adi"}, {"new a", "b"}), FileError);
    // Dropped before its commit, a batch leaves nothing.
    files.writeFiles({folder / "a.adi"})->file(0).write("never");
    EXPECT_EQ(folder.read("a.adi"), "old a");
    EXPECT_EQ(folder.entryCount(), 1);

    write(files, {folder / "a.adi", folder / "b.adi"}, {"new a", "b"});
    EXPECT_EQ(folder.read("a.adi"), "new a");
    EXPECT_EQ(folder.read("b.adi"), "b");
    EXPECT_THROW(files.readFile(folder.path()), FileError);  // a folder is no log
}

TEST(StdFileSystem, FindsANameInAnyLetterCasePreferringTheExactOneThenTheFirst)
{
    TemporaryFolder folder;
    StdFileSystem files;
    folder.write("Wsjtx.log", "");
#ifdef _WIN32
    // One file answers to both names there: it is found as it is written.
    EXPECT_EQ(findIgnoringCase(files, folder.path(), "wsjtx.log"), folder / "Wsjtx.log");
#else
    folder.write("wsjtx.log", "");
    EXPECT_EQ(findIgnoringCase(files, folder.path(), "wsjtx.log"), folder / "wsjtx.log");
#endif
    EXPECT_EQ(findIgnoringCase(files, folder.path(), "WSJTX.LOG"), folder / "Wsjtx.log");
    EXPECT_EQ(findIgnoringCase(files, folder.path(), "other.log"), std::nullopt);
}

TEST(StdFileSystem, MakesEveryMissingFolderAndRefusesAFileInTheWay)
{
    TemporaryFolder folder;
    StdFileSystem files;
    const auto station = folder.path() / pathFromBytes("Donn\xC3\xA9" "es \xC3\xA9t\xC3\xA9");  // "Données été"
    const auto deep = station / pathFromBytes("\xE4\xB8\xAD") / "Logweave";
    files.makeFolders(deep);
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    files.makeFolders(deep);  // there already
    files.makeFolders(station / "." / "other" / "");
    EXPECT_TRUE(std::filesystem::is_directory(station / "other"));

    folder.write("taken", "");
    EXPECT_THROW(files.makeFolders(folder / "taken"), FileError);
    EXPECT_THROW(files.makeFolders(folder / "taken" / "below"), FileError);
}

}  // namespace
}  // namespace logweave::testing
