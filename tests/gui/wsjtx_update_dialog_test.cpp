#include "gui_testing.h"

#include "logweave/automation_config.h"
#include "logweave/pane_texts.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QRadioButton>

namespace logweave::testing {
namespace {

// The program started, with a WSJT-X log and a log to merge into it.
struct Update : Program {
    QString log = fakes.write("station/wsjtx_log.adi", "<call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <eor>\n");
    QString other = fakes.write("other.adi", "<CALL:5>Q1BBB <QSO_DATE:8>20230102 <TIME_ON:4>1000 <EOR>\n");

    // A start with these options saved, and this Logweave.cfg.
    explicit Update(const OutputOptions& saved = {}, const std::string& automation = {}) : Program(nullptr, saved)
    {
        fakes.folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
        if (!automation.empty())
            fakes.folder.write("Logweave.cfg", automation);
        start();
    }

    // Shows the dialog from the menu, with both paths typed in when `filled`; `act` works on it and closes it.
    void show(const std::function<void(QWidget*)>& act, bool filled = true)
    {
        whenModal([this] { menu("wsjtxMenuAction")->trigger(); },
                  [&](QWidget* dialog) {
                      if (filled) {
                          box(dialog, "logToUpdateEdit")->setText(log);
                          box(dialog, "logToMergeEdit")->setText(other);
                      }
                      act(dialog);
                  });
        finish();  // the update OK started
    }
};

// Save and OK, which both need the two paths: "on on" or "off off".
QString saveAndOk(QWidget* dialog)
{
    QStringList states;
    for (const char* name : {"saveButton", "runUpdateButton"})
        states << QString::fromLatin1(child<QPushButton>(dialog, name)->isEnabled() ? "on" : "off");
    return states.join(u' ');
}

}  // namespace

class WsjtxUpdateDialogTest final : public QObject {
    Q_OBJECT

private slots:
    // Browse starts where WSJT-X keeps its log, else in the program folder; Cancel there changes nothing.
    void saveAndOkNeedBothPathsTypedOrBrowsed()
    {
        Update u;
        u.fakes.fileDialog.answers = {u.log};
        u.show(
            [&](QWidget* dialog) {
                QCOMPARE(saveAndOk(dialog), QStringLiteral("off off"));
                click(dialog, "browseLogToUpdateButton");
                QCOMPARE(box(dialog, "logToUpdateEdit")->text(), u.log);
                QCOMPARE(saveAndOk(dialog), QStringLiteral("off off"));
                QTest::keyClicks(box(dialog, "logToMergeEdit"), QStringLiteral("typed.adi"));
                QCOMPARE(saveAndOk(dialog), QStringLiteral("on on"));
                u.fakes.folders.wsjtxFolder = u.fakes.path("station");
                click(dialog, "browseLogToMergeButton");
                QCOMPARE(box(dialog, "logToMergeEdit")->text(), QStringLiteral("typed.adi"));
                box(dialog, "logToUpdateEdit")->clear();
                QCOMPARE(saveAndOk(dialog), QStringLiteral("off off"));
                click(dialog, "cancelButton");
            },
            false);
        QCOMPARE(u.fakes.fileDialog.requests.size(), std::size_t{2});
        QCOMPARE(u.fakes.fileDialog.requests[0].startFolder, u.fakes.folders.programFolder());
        QCOMPARE(u.fakes.fileDialog.requests[1].startFolder, u.fakes.path("station"));
        QCOMPARE(u.fakes.exit.ended, 0);
    }

    // Each Browse where it was left last, while that is still a folder; a Cancel keeps nothing.
    void eachBrowseStartsWhereItWasLeftLast()
    {
        Update u;
        u.fakes.folders.wsjtxFolder = u.fakes.path("station");
        const QString old = QFileInfo(u.fakes.write("old/log.adi", "")).path();
        u.fakes.settings.folders = {{"logToUpdate", old}, {"logToMerge", u.fakes.path("gone")}};
        u.fakes.fileDialog.answers = {u.other};
        u.show(
            [](QWidget* dialog) {
                click(dialog, "browseLogToMergeButton");
                click(dialog, "browseLogToMergeButton");
                click(dialog, "browseLogToUpdateButton");
                click(dialog, "cancelButton");
            },
            false);
        QStringList starts;
        for (const auto& request : u.fakes.fileDialog.requests)
            starts << request.startFolder;
        const QString folder = u.fakes.folders.programFolder();
        QCOMPARE(starts, QStringList({u.fakes.path("station"), folder, old}));
        QCOMPARE(u.fakes.settings.folders.value("logToMerge"), folder);
        QCOMPARE(u.fakes.settings.folders.value("logToUpdate"), old);
    }

    // Enter presses the focused button only, Save keeps the dialog up, OK runs the update, then closes.
    void saveWritesTheAutomationFileWithTheOptionsRuleWithoutUpdatingOkUpdates()
    {
        Update u;
        u.open(QString(),
               [](QWidget* options) { child<QRadioButton>(options, "sameContactButtons(1)")->setChecked(true); });
        u.show([&](QWidget* dialog) {
            auto* save = child<QPushButton>(dialog, "saveButton");
            save->setFocus();
            QTest::keyClick(save, Qt::Key_Enter);
            QVERIFY(u.fakes.folder.exists("Logweave.cfg"));
            QVERIFY(!u.fakes.folder.exists("station/wsjtx_log.adi_old"));
            box(dialog, "logToMergeEdit")->setFocus();
            QTest::keyClick(box(dialog, "logToMergeEdit"), Qt::Key_Return);  // not even the button last pressed
            QVERIFY(dialog->isVisible());
            auto* ok = child<QPushButton>(dialog, "runUpdateButton");
            ok->setFocus();
            QTest::keyClick(ok, Qt::Key_Return);
            QVERIFY(!dialog->isVisible());
        });
        QVERIFY(parseAutomationFile(u.fakes.folder.read("Logweave.cfg"), {})
                == (AutomationPaths{u.log.toStdString(), u.other.toStdString(), {ContactRule::Window, 30}}));
        QVERIFY(u.fakes.folder.exists("station/wsjtx_log.adi_old"));
        QCOMPARE(QString::fromStdString(u.store.openLogPath()), u.fakes.path("Logweave.adi"));  // the merged log is open
    }

    // As the controls stand, top to bottom, left to right: Save stands left of
    // OK. The group of choices is one stop, at the one chosen.
    void tabVisitsEveryControlInPlaceOrder()
    {
        Update u;
        u.show([](QWidget* dialog) {
            QCOMPARE(tabChain(box(dialog, "logToUpdateEdit")),
                     QStringList({"logToUpdateEdit", "browseLogToUpdateButton", "logToMergeEdit", "browseLogToMergeButton",
                                  "sameContactButtons(0)", "saveButton", "runUpdateButton", "cancelButton"}));
            click(dialog, "cancelButton");
        });
    }

    // With both paths given and the focus anywhere: nothing saved, nothing run.
    void escapeCancels_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::newRow("path") << "logToMergeEdit";
        QTest::newRow("choice") << "sameContactButtons(1)";
        QTest::newRow("OK") << "runUpdateButton";
    }
    void escapeCancels()
    {
        QFETCH(QString, focused);
        Update u;
        const QString pane = u.pane();
        u.show([&](QWidget* dialog) {
            QWidget* control = child<QWidget>(dialog, qPrintable(focused));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        });
        QVERIFY(!u.fakes.folder.exists("Logweave.cfg"));
        QVERIFY(!u.fakes.folder.exists("station/wsjtx_log.adi_old"));
        QCOMPARE(u.pane(), pane);
        QVERIFY(u.store.openLogPath().empty());
    }

    // The options' rule, as saved, until the unattended update is saved with a rule of its own:
    // after a restart the dialog shows the rule it follows, and OK merges by it.
    void followsTheSavedRuleAfterARestart_data()
    {
        QTest::addColumn<bool>("optionsWindow");
        QTest::addColumn<QString>("automation");
        QTest::addColumn<bool>("dialogWindow");
        const QString paths = QStringLiteral("FicToUpdate = a.adi\r\nFicToMerge = b.adi\r\n");
        QTest::newRow("options, window") << true << QString() << true;
        QTest::newRow("options, exact") << false << QString() << false;
        QTest::newRow("saved window over options exact") << false << paths + "Match = window 30\r\n" << true;
        QTest::newRow("saved exact over options window") << true << paths << false;
        QTest::newRow("no paths saved: the options'") << true << QStringLiteral("Match = exact\r\n") << true;
    }
    void followsTheSavedRuleAfterARestart()
    {
        QFETCH(bool, optionsWindow);
        QFETCH(QString, automation);
        QFETCH(bool, dialogWindow);
        OutputOptions saved;  // as the options dialog saved them
        if (optionsWindow)
            saved.sameContact = {ContactRule::Window, 30};
        Update u(saved, automation.toStdString());
        u.fakes.folder.write("station/wsjtx_log.adi", "<call:5>Q1AAA <qso_date:8>20230101 <time_on:6>100015 "
                                                      "<band:3>20m <mode:3>FT8 <eor>\n");
        u.fakes.folder.write("other.adi", "<CALL:5>Q1AAA <QSO_DATE:8:D>20230101 <TIME_ON:4>1000 <BAND:3>20m "
                                          "<MODE:3>FT8 <QSL_RCVD:1>Y <EOR>\n");
        u.show([&](QWidget* dialog) {
            QCOMPARE(child<QRadioButton>(dialog, "sameContactButtons(1)")->isChecked(), dialogWindow);
            click(dialog, "runUpdateButton");
        });
        // A confirmation of the logged contact is that contact under the window rule, another one under the exact.
        QVERIFY2(u.pane().contains(dialogWindow ? " 1 enregistrements différents" : " 1 enregistrements ajoutés"),
                 qPrintable(u.pane()));
    }

    // Save says in the pane which file it wrote; the dialog stays up.
    void saveNamesTheFileItWroteInThePane()
    {
        Update u;
        u.show([](QWidget* dialog) {
            click(dialog, "saveButton");
            QVERIFY(dialog->isVisible());
            click(dialog, "cancelButton");
        });
        QVERIFY2(u.pane().endsWith(paneText(pane::automationSaved(u.fakes.path("Logweave.cfg").toStdString()))),
                 qPrintable(u.pane()));
    }

    void aSaveThatFailsSaysWhichFile()
    {
        Update u;
        QVERIFY(QDir().mkpath(u.fakes.path("Logweave.cfg")));  // a folder: the file cannot be written
        QString message;
        u.show([&](QWidget* dialog) {
            whenModal([dialog] { click(dialog, "saveButton"); },
                      [&](QWidget* box) {
                          message = qobject_cast<QMessageBox*>(box)->text();
                          box->close();
                      });
            QVERIFY(dialog->isVisible());
            click(dialog, "cancelButton");
        });
        QVERIFY2(message.contains(u.fakes.path("Logweave.cfg")), qPrintable(message));
        QVERIFY(!u.pane().contains(paneText(pane::automationSaved(u.fakes.path("Logweave.cfg").toStdString()))));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::WsjtxUpdateDialogTest)
#include "wsjtx_update_dialog_test.moc"
