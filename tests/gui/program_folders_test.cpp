#include "gui_testing.h"

#include "platform/program_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <filesystem>
#include <unistd.h>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

// A program installed into lib/ with its field order lists, and a user whose data folders are under home/.
struct Installed {
    TemporaryFolder folder;

    Installed()
    {
        folder.write("lib/AdifCodes_Liste.txt", "CALL\r\n");
        folder.write("lib/AdifCodes_Liste_WSJT-X.txt", "call\r\n");
    }
    QString executableFolder() const { return text(folder / "lib"); }
    QString userDataFolder() const { return text(folder / "home/.local/share/Logweave"); }
    QString sharedDataFolder() const { return text(folder / "home/.local/share"); }

    // Every folder can be written but, when `readOnly`, the executable's.
    platform::FolderPlaces places(bool readOnly) const
    {
        const auto canWrite = [readOnly, lib = executableFolder()](const QString& asked) {
            return !(readOnly && asked == lib);
        };
        return {executableFolder(), userDataFolder(), sharedDataFolder(), canWrite};
    }
};

}  // namespace

class ProgramFoldersTest final : public QObject {
    Q_OBJECT

private slots:
    void aWritableExecutableFolderIsTheProgramFolder()
    {
        Installed installed;
        const platform::QtProgramFolders folders(installed.places(false));
        QVERIFY(!folders.inUserDataFolder());
        QCOMPARE(folders.programFolder(), installed.executableFolder());
        QCOMPARE(folders.helpFolder(), installed.executableFolder());
        QVERIFY(!QFileInfo::exists(installed.userDataFolder()));
        // The WSJT-X log folder is offered only once it exists.
        QCOMPARE(folders.wsjtxLogFolder(), QString());
        QVERIFY(QDir().mkpath(installed.sharedDataFolder() + "/WSJT-X"));
        QCOMPARE(folders.wsjtxLogFolder(), installed.sharedDataFolder() + "/WSJT-X");
    }

    void aReadOnlyExecutableFolderGivesWayToTheUserDataFolder()
    {
        Installed installed;
        const TemporaryFolder& f = installed.folder;
        f.write("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt", "mine\r\n");
        fs::permissions(f / "lib/AdifCodes_Liste.txt",
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        {
            const platform::QtProgramFolders folders(installed.places(true));
            QVERIFY(folders.inUserDataFolder());
            QCOMPARE(folders.programFolder(), installed.userDataFolder());
            QCOMPARE(folders.helpFolder(), installed.executableFolder());
        }
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), std::string("CALL\r\n"));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt"), std::string("mine\r\n"));
        const auto copied = fs::status(f / "home/.local/share/Logweave/AdifCodes_Liste.txt");
        QVERIFY((copied.permissions() & fs::perms::owner_write) != fs::perms::none);

        // The next start finds the user's edited list and leaves it.
        f.write("home/.local/share/Logweave/AdifCodes_Liste.txt", "edited\r\n");
        const platform::QtProgramFolders again(installed.places(true));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), std::string("edited\r\n"));
    }

    void writabilityIsTriedNotReadFromPermissions()
    {
        TemporaryFolder folder;
        QVERIFY(platform::canCreateFileIn(text(folder.path())));
        QVERIFY(fs::is_empty(folder.path()));  // the trial leaves nothing behind
        QVERIFY(!platform::canCreateFileIn(text(folder / "absent")));
#ifdef __linux__
        QVERIFY(!platform::canCreateFileIn(QStringLiteral("/proc")));  // not even root may
#endif
        if (::geteuid() == 0)
            return;  // root writes through the permissions below
        fs::create_directory(folder / "locked");
        fs::permissions(folder / "locked", fs::perms::owner_write, fs::perm_options::remove);
        QVERIFY(!platform::canCreateFileIn(text(folder / "locked")));
    }

    void theWindowWorksInTheUserDataFolderAndReadsHelpWhereInstalled()
    {
        Installed installed;
        platform::QtProgramFolders folders(installed.places(true));
        Program p(&folders);  // gives the current folder back at the end
        p.window.Form_Load();
        const QString data = installed.userDataFolder();
        QCOMPARE(QDir::current().canonicalPath(), QDir(data).canonicalPath());

        p.open(text(installed.folder.write(
            "logs/station.adi", "h<EOH>\r\n<RST_SENT:2>59 <CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\r\n")));
        QCOMPARE(p.fakes.fileDialog.requests.front().startFolder, data);
        // The default list is the user's copy: CALL first.
        QCOMPARE(installed.folder.read("home/.local/share/Logweave/Adif_File.adi"),
                 std::string("h<eoh>\r\n<call:5>Q1AAA <rst_sent:2>59 <qso_date:8>20230101 <time_on:4>1000 <eor>\r\n"));
        QVERIFY(!installed.folder.exists("lib/Adif_File.adi"));

        p.menu("Mnu_Aide")->trigger();
        QCOMPARE(QString::fromStdString(p.fakes.helpViewer.requests.back().file),
                 installed.executableFolder() + "/Logweave.chm>W1");
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::ProgramFoldersTest)
#include "program_folders_test.moc"
