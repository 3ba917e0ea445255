// The program folder both front ends settle on at start.

#include "faulty_file_system.h"
#include "logweave/program_folder.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
TEST(ProgramFolder, TheUserDataFolderIsLogweaveInTheRoamingAppData)
{
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(systemUserDataFolder(), fs::path(appData) / "Logweave");
}
#else
TEST(ProgramFolder, TheUserDataFolderFollowsXdgDataHomeElseHome)
{
    struct Case {
        const char* xdgDataHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/data", "/home/op", "/data/Logweave"},
        {"/data/", "/home/op", "/data/Logweave"},
        {nullptr, "/home/op", "/home/op/.local/share/Logweave"},
        {"", "/home/op/", "/home/op/.local/share/Logweave"},
        {"data", "/home/op", "/home/op/.local/share/Logweave"},  // relative: not a base folder
        {nullptr, nullptr, "/.local/share/Logweave"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(userDataFolder(c.xdgDataHome, c.home), fs::path(c.expected))
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)") << ", " << (c.home ? c.home : "(unset)");
}
#endif

// Found for real: a folder misread would settle the user's on a folder of the shell's.
TEST(ProgramFolder, TheExecutablesFolderHoldsThisTest)
{
    const fs::path folder = executableFolder();
    ASSERT_TRUE(folder.is_absolute()) << folder;
#ifdef _WIN32
    EXPECT_TRUE(fs::is_regular_file(folder / "logweave_engine_tests.exe")) << folder;
#else
    EXPECT_TRUE(fs::is_regular_file(folder / "logweave_engine_tests")) << folder;
#endif
}

// An install folder with its two field order lists, and a user's data folder not made yet.
struct Installed {
    TemporaryFolder folder;
    fs::path lib = folder / "lib";
    fs::path userData = folder / "home/.local/share/Logweave";
    FaultyFileSystem files;

    Installed()
    {
        folder.write("lib/AdifCodes_Liste.txt", "CALL\r\n");
        folder.write("lib/AdifCodes_Liste_WSJT-X.txt", "call\r\n");
    }
    ProgramFolder settle(bool libWritable)
    {
        return settleProgramFolder(files, lib, userData, [libWritable](const fs::path&) { return libWritable; });
    }
};

TEST(ProgramFolder, IsTheInstallFolderWhenItCanBeWrittenElseTheUsersGivenTheListsOnce)
{
    Installed installed;
    // Tried for real by default: a test's folder can be written.
    const ProgramFolder writable = settleProgramFolder(installed.files, installed.lib, installed.userData);
    EXPECT_EQ(writable.path, installed.lib);
    EXPECT_FALSE(writable.inUserDataFolder);
    EXPECT_FALSE(fs::exists(installed.userData));

    const TemporaryFolder& f = installed.folder;
    f.write("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt", "mine\r\n");
    fs::permissions(installed.lib / "AdifCodes_Liste.txt",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const ProgramFolder readOnly = installed.settle(false);
    EXPECT_EQ(readOnly.path, installed.userData);
    EXPECT_TRUE(readOnly.inUserDataFolder);
    EXPECT_EQ(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), "CALL\r\n");
    EXPECT_EQ(f.read("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt"), "mine\r\n");
    // The user's to edit, whatever the installed file's permissions.
    const auto copied = fs::status(installed.userData / "AdifCodes_Liste.txt").permissions();
    EXPECT_NE(copied & fs::perms::owner_write, fs::perms::none);

    // A later start keeps the user's edits.
    f.write("home/.local/share/Logweave/AdifCodes_Liste.txt", "TIME_ON\r\n");
    installed.settle(false);
    EXPECT_EQ(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), "TIME_ON\r\n");
}

TEST(ProgramFolder, IsTheUsersEvenWhenItCannotBeMadeOrGivenItsLists)
{
    Installed installed;
    installed.files.failOn(FileError::Action::Write, "Logweave");
    EXPECT_EQ(installed.settle(false).path, installed.userData);
    EXPECT_FALSE(fs::exists(installed.userData));

    installed.files.failOn(FileError::Action::Write, "AdifCodes_Liste.txt");
    fs::remove(installed.lib / "AdifCodes_Liste_WSJT-X.txt");
    EXPECT_EQ(installed.settle(false).path, installed.userData);
    EXPECT_TRUE(fs::is_directory(installed.userData));
    EXPECT_EQ(std::distance(fs::directory_iterator(installed.userData), {}), 0);

    // An executable whose folder is unknown never makes the current folder the program's.
    installed.files.fault = nullptr;
    const ProgramFolder unknown = settleProgramFolder(installed.files, {}, installed.userData);
    EXPECT_EQ(unknown.path, installed.userData);
    EXPECT_TRUE(unknown.inUserDataFolder);
}

#ifdef _WIN32
// Installed for every user, the program is each user's in their own folder,
// though an administrator could write where it was installed.
TEST(ProgramFolder, IsNeverInProgramFiles)
{
    Installed installed;
    const std::wstring programFiles = _wgetenv(L"ProgramFiles");
    std::wstring shouted = programFiles;
    for (wchar_t& c : shouted)
        c = static_cast<wchar_t>(towupper(c));
    const auto writable = [](const fs::path&) { return true; };
    for (const fs::path& inside : {fs::path(programFiles) / "Logweave", fs::path(shouted + L"/Logweave/")}) {
        const ProgramFolder settled = settleProgramFolder(installed.files, inside, installed.userData, writable);
        EXPECT_TRUE(settled.inUserDataFolder) << inside;
        EXPECT_EQ(settled.path, installed.userData);
    }
    // A folder whose name only begins as Program Files' does is any other.
    const fs::path beside = fs::path(programFiles + L" Extra") / "Logweave";
    EXPECT_EQ(settleProgramFolder(installed.files, beside, installed.userData, writable).path, beside);
}
#endif

}  // namespace
}  // namespace logweave::testing
