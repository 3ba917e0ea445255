#include "gui_testing.h"

#include "dialogs/wsjtx_update_dialog.h"
#include "faulty_file_system.h"
#include "logweave/automation_config.h"
#include "logweave/pane_texts.h"
#include "recording_interface.h"
#include "shell/main_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace logweave::testing {
namespace {

struct Update {
    FakePlatform fakes;
    LogStore store;
    RecordingInterface ui;
    FaultyFileSystem files;
    Session session{store, ui, files};

    Update()
    {
        store.programFolder = fakes.folder.path();
        fakes.folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
        fakes.folder.write("station/wsjtx_log.adi", "<call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <eor>\n");
        fakes.folder.write("other.adi", "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\n");
    }
    QString log() const { return fakes.path("station/wsjtx_log.adi"); }
    QString other() const { return fakes.path("other.adi"); }

    // Shows the dialog; `act` works on it and closes it.
    void show(std::function<void(QWidget*)> act)
    {
        dialogs::WsjtxUpdateDialog dialog(session, fakes.platform);
        bool finished = false;
        whenModal(act, &finished);
        dialog.exec();
        QVERIFY(finished);
    }
};

// What the configuration file saved in the program folder sets.
AutomationPaths saved(const FakePlatform& fakes)
{
    return parseAutomationConfig(fakes.folder.read("Logweave.cfg"), {});
}

QLineEdit* box(QWidget* dialog, const char* name)
{
    return child<QLineEdit>(dialog, name);
}

bool enabled(QWidget* dialog, const char* name)
{
    return child<QPushButton>(dialog, name)->isEnabled();
}

}  // namespace

class WsjtxUpdateDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void saveAndOkNeedBothPaths()
    {
        Update u;
        u.show([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Mise à jour du log WSJT-X [WSJT-X log update]"));
            QVERIFY(child<QLabel>(dialog, "Label3")->text().contains(QStringLiteral("[The update reads the WSJT-X log")));
            QVERIFY(box(dialog, "Text1")->text().isEmpty());
            QVERIFY(!enabled(dialog, "Command4") && !enabled(dialog, "Command3"));
            QTest::keyClicks(box(dialog, "Text1"), QStringLiteral("/a.adi"));
            QVERIFY(!enabled(dialog, "Command4") && !enabled(dialog, "Command3"));
            QTest::keyClicks(box(dialog, "Text2"), QStringLiteral("b"));
            QVERIFY(enabled(dialog, "Command4") && enabled(dialog, "Command3"));
            box(dialog, "Text1")->clear();
            QVERIFY(!enabled(dialog, "Command4") && !enabled(dialog, "Command3"));
            child<QPushButton>(dialog, "Command5")->click();
        });
    }

    void browseFillsABoxAndCancelLeavesIt()
    {
        Update u;
        u.fakes.fileDialog.answers = {u.log()};
        u.show([&](QWidget* dialog) {
            child<QPushButton>(dialog, "Command1")->click();
            QCOMPARE(box(dialog, "Text1")->text(), u.log());
            box(dialog, "Text2")->setText(QStringLiteral("typed.adi"));
            child<QPushButton>(dialog, "Command2")->click();  // Cancel
            QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("typed.adi"));
            QVERIFY(enabled(dialog, "Command3"));
            child<QPushButton>(dialog, "Command5")->click();
        });
        QCOMPARE(u.fakes.fileDialog.requests.front().startFolder, u.fakes.folders.programFolder());
        QCOMPARE(u.fakes.fileDialog.requests.back().startFolder, u.fakes.folders.programFolder());
        QCOMPARE(u.fakes.exit.ended, 0);
        QVERIFY(u.store.FicToUpdate.empty());  // Escape sets nothing
    }

    void browseStartsWhereWsjtxKeepsItsLog()
    {
        Update u;
        u.fakes.folders.wsjtxFolder = u.fakes.path("station");
        u.show([](QWidget* dialog) {
            child<QPushButton>(dialog, "Command1")->click();
            child<QPushButton>(dialog, "Command2")->click();
            child<QPushButton>(dialog, "Command5")->click();
        });
        QCOMPARE(u.fakes.fileDialog.requests.size(), std::size_t{2});
        for (const auto& request : u.fakes.fileDialog.requests)
            QCOMPARE(request.startFolder, u.fakes.path("station"));
    }

    void saveWritesTheConfigurationWithoutUpdating()
    {
        Update u;
        u.show([&](QWidget* dialog) {
            box(dialog, "Text1")->setText(u.log());
            box(dialog, "Text2")->setText(u.other());
            child<QPushButton>(dialog, "Command4")->click();
            QVERIFY(dialog->isVisible());
            child<QPushButton>(dialog, "Command5")->click();
        });
        QVERIFY(saved(u.fakes) == (AutomationPaths{u.log().toStdString(), u.other().toStdString(), {}}));
        QVERIFY(!u.fakes.folder.exists("station/wsjtx_log.adi_old"));
    }

    void enterPressesTheFocusedButtonOnly()
    {
        Update u;
        u.show([&](QWidget* dialog) {
            box(dialog, "Text1")->setText(u.log());
            box(dialog, "Text2")->setText(u.other());
            auto* save = child<QPushButton>(dialog, "Command4");
            save->setFocus();
            QTest::keyClick(save, Qt::Key_Enter);
            QVERIFY(u.fakes.folder.exists("Logweave.cfg"));
            // Enter in a box presses nothing, not even the button last pressed.
            box(dialog, "Text2")->setFocus();
            QTest::keyClick(box(dialog, "Text2"), Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
            auto* cancel = child<QPushButton>(dialog, "Command5");
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key_Return);
            QVERIFY(!dialog->isVisible());
        });
        QVERIFY(!u.fakes.folder.exists("station/wsjtx_log.adi_old"));  // OK was never pressed
    }

    void saveWritesTheContactRuleChosenInTheOptions()
    {
        FakePlatform fakes;
        LogStore store;
        StdFileSystem files;
        shell::MainWindow window(store, files, fakes.platform);
        window.Form_Load();
        whenModal([](QWidget* options) {
            child<QRadioButton>(options, "Option2(1)")->setChecked(true);
            child<QPushButton>(options, "Command2")->click();
        });
        child<QAction>(&window, "Mnu_Ouvrir")->trigger();  // the options, then no file chosen
        bool finished = false;
        whenModal(
            [&](QWidget* dialog) {
                box(dialog, "Text1")->setText(fakes.path("wsjtx_log.adi"));
                box(dialog, "Text2")->setText(fakes.path("other.adi"));
                child<QPushButton>(dialog, "Command4")->click();
                child<QPushButton>(dialog, "Command5")->click();
            },
            &finished);
        child<QAction>(&window, "Mnu_WSJTX")->trigger();
        QVERIFY(finished);
        const ContactMatch chosen{ContactRule::Window, 30};
        QVERIFY(saved(fakes)
                == (AutomationPaths{fakes.path("wsjtx_log.adi").toStdString(), fakes.path("other.adi").toStdString(), chosen}));
    }

    void aSaveThatFailsSaysWhichFile()
    {
        Update u;
        u.files.failOn(FileError::Action::Write, "Logweave.cfg", std::make_error_code(std::errc::read_only_file_system));
        QString message;
        u.show([&](QWidget* dialog) {
            box(dialog, "Text1")->setText(u.log());
            box(dialog, "Text2")->setText(u.other());
            whenModal([&](QWidget* box) {
                message = qobject_cast<QMessageBox*>(box)->text();
                box->close();
            });
            child<QPushButton>(dialog, "Command4")->click();
            QVERIFY(dialog->isVisible());
            child<QPushButton>(dialog, "Command5")->click();
        });
        const FileError unwritten(FileError::Action::Write, u.fakes.folder / "Logweave.cfg",
                                  std::make_error_code(std::errc::read_only_file_system));
        QCOMPARE(message, paneText(pane::fileError(unwritten)).trimmed());
    }

    void okRunsTheUpdateThenCloses()
    {
        Update u;
        u.show([&](QWidget* dialog) {
            box(dialog, "Text1")->setText(u.log());
            box(dialog, "Text2")->setText(u.other());
            child<QPushButton>(dialog, "Command3")->click();
        });
        QVERIFY(u.fakes.folder.exists("station/wsjtx_log.adi_old"));
        QVERIFY(u.ui.pane.ends_with(pane::replaced(u.log().toStdString(), u.fakes.path("station/Wsjtx.log").toStdString())));
        QCOMPARE(QString::fromStdString(u.store.FicToMerge), u.other());
    }

    void theCommandTurnsOpenOffForTheRun()
    {
        FakePlatform fakes;
        LogStore store;
        StdFileSystem files;
        shell::MainWindow window(store, files, fakes.platform);
        window.Form_Load();
        bool finished = false;
        whenModal([](QWidget* dialog) { child<QPushButton>(dialog, "Command5")->click(); }, &finished);
        child<QAction>(&window, "Mnu_WSJTX")->trigger();
        QVERIFY(finished);
        QVERIFY(!child<QAction>(&window, "Mnu_Ouvrir")->isEnabled());
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::WsjtxUpdateDialogTest)
#include "wsjtx_update_dialog_test.moc"
