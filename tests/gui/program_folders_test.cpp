#include "gui_testing.h"

#include "logweave/std_file_system.h"
#include "platform/program_folders.h"
#include "shell/main_window.h"
#include "shell/pane_texts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <unistd.h>

namespace logweave::testing {
namespace {

QString text(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// A program installed into lib/ with its field order lists, and a user whose
// data folders are under home/.
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

const std::string kLog = "h<EOH>\r\n<RST_SENT:2>59 <CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <EOR>\r\n";

}  // namespace

class ProgramFoldersTest final : public QObject {
    Q_OBJECT

private slots:
    void aWritableExecutableFolderStaysTheProgramFolder()
    {
        Installed installed;
        const platform::QtProgramFolders folders(installed.places(false));
        QVERIFY(!folders.inUserDataFolder());
        QCOMPARE(folders.programFolder(), installed.executableFolder());
        QCOMPARE(folders.helpFolder(), installed.executableFolder());
        QVERIFY(!QFileInfo::exists(installed.userDataFolder()));
    }

    void aReadOnlyExecutableFolderGivesWayToTheUserDataFolder()
    {
        Installed installed;
        installed.folder.write("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt", "mine\r\n");
        std::filesystem::permissions(installed.folder / "lib/AdifCodes_Liste.txt", std::filesystem::perms::owner_read
                                         | std::filesystem::perms::group_read | std::filesystem::perms::others_read);
        {
            const platform::QtProgramFolders folders(installed.places(true));
            QVERIFY(folders.inUserDataFolder());
            QCOMPARE(folders.programFolder(), installed.userDataFolder());
            QCOMPARE(folders.helpFolder(), installed.executableFolder());
        }
        const TemporaryFolder& f = installed.folder;
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), std::string("CALL\r\n"));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste_WSJT-X.txt"), std::string("mine\r\n"));
        const auto copied = std::filesystem::status(f / "home/.local/share/Logweave/AdifCodes_Liste.txt");
        QVERIFY((copied.permissions() & std::filesystem::perms::owner_write) != std::filesystem::perms::none);

        // The next start finds the user's edited list and leaves it.
        f.write("home/.local/share/Logweave/AdifCodes_Liste.txt", "edited\r\n");
        const platform::QtProgramFolders again(installed.places(true));
        QCOMPARE(f.read("home/.local/share/Logweave/AdifCodes_Liste.txt"), std::string("edited\r\n"));
    }

    void writabilityIsTriedNotReadFromPermissions()
    {
        TemporaryFolder folder;
        QVERIFY(platform::canCreateFileIn(text(folder.path())));
        QVERIFY(std::filesystem::is_empty(folder.path()));  // the trial leaves nothing behind
        QVERIFY(!platform::canCreateFileIn(text(folder / "absent")));
#ifdef __linux__
        QVERIFY(!platform::canCreateFileIn(QStringLiteral("/proc")));  // not even root may
#endif
        if (::geteuid() == 0)
            return;  // root writes through the permissions below
        std::filesystem::create_directory(folder / "locked");
        std::filesystem::permissions(folder / "locked", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        QVERIFY(!platform::canCreateFileIn(text(folder / "locked")));
    }

    void theWsjtxLogFolderIsOfferedOnlyWhenItExists()
    {
        Installed installed;
        const platform::QtProgramFolders folders(installed.places(false));
        QCOMPARE(folders.wsjtxLogFolder(), QString());
        QVERIFY(QDir().mkpath(installed.sharedDataFolder() + "/WSJT-X"));
        QCOMPARE(folders.wsjtxLogFolder(), installed.sharedDataFolder() + "/WSJT-X");
    }

    void theWindowWorksInTheUserDataFolderAndReadsHelpWhereInstalled()
    {
        FakePlatform fakes;  // gives the current folder back at the end
        Installed installed;
        platform::QtProgramFolders folders(installed.places(true));
        platform::Platform platform{fakes.fileDialog, fakes.inputBox, fakes.helpViewer, fakes.exit, folders};
        LogStore store;
        StdFileSystem files;
        shell::MainWindow window(store, files, platform);
        window.Form_Load();
        const QString data = installed.userDataFolder();
        QCOMPARE(QDir::current().canonicalPath(), QDir(data).canonicalPath());

        fakes.fileDialog.answers = {text(installed.folder.write("logs/station.adi", kLog))};
        bool finished = false;
        whenModal([](QWidget* options) { child<QPushButton>(options, "Command2")->click(); }, &finished);
        child<QAction>(&window, "Mnu_Ouvrir")->trigger();
        QVERIFY(finished);
        QCOMPARE(fakes.fileDialog.requests.front().startFolder, data);
        // The default list is the user's copy: CALL first.
        QCOMPARE(installed.folder.read("home/.local/share/Logweave/Adif_File.adi"),
                 std::string("h<eoh>\r\n<call:5>Q1AAA <rst_sent:2>59 <qso_date:8>20230101 <time_on:4>1000 <eor>\r\n"));
        QVERIFY(!installed.folder.exists("lib/Adif_File.adi"));
        const QString pane = child<QPlainTextEdit>(&window, "Text1")->toPlainText();
        QVERIFY(pane.startsWith(paneText(shell::programFolderParagraph(data))));

        child<QAction>(&window, "Mnu_Aide")->trigger();
        QCOMPARE(QString::fromStdString(fakes.helpViewer.requests.back().file),
                 installed.executableFolder() + "/Logweave.chm>W1");
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::ProgramFoldersTest)
#include "program_folders_test.moc"
