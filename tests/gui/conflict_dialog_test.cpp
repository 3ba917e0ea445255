#include "gui_testing.h"

#include "dialogs/conflict_dialog.h"
#include "logweave/load_output_options.h"
#include "logweave/merge_added_log.h"
#include "logweave/read_open_log.h"
#include "logweave/std_file_system.h"
#include "shell/qt_user_interface.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

namespace logweave::testing {
namespace {

// The rows show the added record: only it has a comment (another open record
// has one, so the log has that field).
const std::string kOpen =
    "<QSO_DATE:8>20230101 <TIME_ON:4>1000 <CALL:5>Q1AAA <BAND:3>20m <MODE:3>FT8 <NAME:4>J\xF6rg "
    "<RST_SENT:2>59 <RST_RCVD:2>57 <EOR>\r\n"
    "<QSO_DATE:8>20230102 <TIME_ON:4>1000 <CALL:5>Q1BBB <COMMENT:4>else <EOR>\r\n";
const std::string kAdded =
    "<QSO_DATE:8>20230101 <TIME_ON:4>1000 <CALL:5>Q1AAA <BAND:3>20m <MODE:3>FT8 <NAME:5>J\xC3\xB6rg "
    "<RST_SENT:3>599 <RST_RCVD:2>55 <COMMENT:5>added <EOR>\r\n";

// A merge whose one pair of records differs in three fields: NAME, RST_SENT, RST_RCVD.
struct Merge {
    FakePlatform fakes;
    QPlainTextEdit pane;
    LogStore store;
    StdFileSystem files;
    shell::QtUserInterface ui{pane, fakes.platform, nullptr};
    Session session{store, ui, files};

    explicit Merge(const std::string& open = kOpen, const std::string& added = kAdded)
    {
        store.programFolder = fakes.folder.path();
        applyOutputOptions(session, {"", false, false, HeaderSource::AddedLog, {}});
        store.OpenLogPath = fakes.folder.write("open.adi", open).string();
        store.AddedLogPath = fakes.folder.write("added.adi", added).string();
        if (ReadOpenLog(session, store.OpenLogPath) != Outcome::Done)
            qFatal("the open log was not read");
    }

    // Each step acts on one showing of the dialog, in field order, and closes it.
    void run(std::vector<std::function<void(QWidget*)>> steps)
    {
        std::size_t shown = 0;
        QObject waiting;  // the look for a showing after the last goes with it
        std::function<void()> next = [&] {
            whenModal(
                [&](QWidget* dialog) {
                    if (shown < steps.size())
                        steps[shown](dialog);
                    else
                        dialog->close();  // a showing no step expects: counted, so that the test fails instead of waiting
                    ++shown;
                    next();
                },
                nullptr, &waiting);
        };
        next();
        QCOMPARE(MergeAddedLog(session, store.AddedLogPath, {}), Outcome::Done);
        QCOMPARE(shown, steps.size());
    }

    std::string merged() const { return fakes.folder.read("Logweave.adi"); }
};

void ok(QWidget* dialog)
{
    child<QPushButton>(dialog, "Command1")->click();
}

// Enter where the focus is: on OK once the dialog is up.
void enter(QWidget* dialog)
{
    QCOMPARE(dialog->focusWidget(), child<QPushButton>(dialog, "Command1"));
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
}

QString text(QWidget* dialog, const char* name)
{
    return child<QLineEdit>(dialog, name)->text();
}

// Three contacts whose reports differ; only the first and the last differ in RST_RCVD too.
const std::string kThreeOpen = "<QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <RST_RCVD:2>57 <EOR>\r\n"
                               "<QSO_DATE:8>20230102 <TIME_ON:4>1000 <RST_SENT:2>58 <RST_RCVD:2>56 <EOR>\r\n"
                               "<QSO_DATE:8>20230103 <TIME_ON:4>1000 <RST_SENT:2>55 <RST_RCVD:2>54 <EOR>\r\n";
const std::string kThreeAdded = "<QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <RST_RCVD:2>55 <EOR>\r\n"
                                "<QSO_DATE:8>20230102 <TIME_ON:4>1000 <RST_SENT:3>588 <RST_RCVD:2>56 <EOR>\r\n"
                                "<QSO_DATE:8>20230103 <TIME_ON:4>1000 <RST_SENT:3>555 <RST_RCVD:2>53 <EOR>\r\n";

QCheckBox* sameChoice(QWidget* dialog)
{
    return child<QCheckBox>(dialog, "Check1");
}

// Each showing's field, in order, as its title names it.
auto titled(QStringList& titles)
{
    return [&titles](QWidget* dialog) { titles << dialog->windowTitle(); };
}

}  // namespace

class ConflictDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void showsTheContactAndBothValuesAndProposesTheOpenOne()
    {
        Merge m;
        const auto rows = [&](QWidget* dialog) {
            QStringList captions;
            for (int k = 0; k < 8; ++k) {
                const QString index = QString::number(k);
                captions << child<QLabel>(dialog, qPrintable("Label1(" + index + ")"))->text() + "="
                                + child<QLineEdit>(dialog, qPrintable("Text1(" + index + ")"))->text();
                QVERIFY(!child<QLineEdit>(dialog, qPrintable("Text1(" + index + ")"))->isEnabled());
            }
            QCOMPARE(captions, (QStringList{"qso_date=20230101", "time_on=1000", "band=20m", "call=Q1AAA", "mode=FT8",
                                            "=", "=", "comment=added"}));
            QCOMPARE(dialog->findChildren<QLabel*>(QRegularExpression("^Label1\\(")).size(), 8);
        };
        m.run({
            [&](QWidget* dialog) {
                rows(dialog);
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Conflit : name [Conflict: name]"));
                // Alike on screen, apart in their bytes (Windows-1252 and UTF-8).
                QCOMPARE(text(dialog, "Text2"), QStringLiteral("Jörg"));
                QCOMPARE(text(dialog, "Text3"), QStringLiteral("Jörg"));
                QCOMPARE(text(dialog, "Text4"), QStringLiteral("Jörg Jörg"));
                enter(dialog);
            },
            [&](QWidget* dialog) {
                rows(dialog);
                QCOMPARE(child<QLabel>(dialog, "Label2")->text(), QString::fromStdString(m.store.OpenLogPath));
                QCOMPARE(child<QLabel>(dialog, "Label3")->text(), QString::fromStdString(m.store.AddedLogPath));
                QCOMPARE(text(dialog, "Text2"), QStringLiteral("59"));
                QCOMPARE(text(dialog, "Text3"), QStringLiteral("599"));
                QCOMPARE(text(dialog, "Text4"), QStringLiteral("59 599"));
                QCOMPARE(text(dialog, "Text5"), QStringLiteral("59"));
                enter(dialog);
            },
            ok,
        });
        // The open value, read as Windows-1252, goes back as the byte it was.
        QVERIFY(m.merged().find("<name:4>J\xF6rg <rst_sent:2>59 <rst_rcvd:2>57 <comment:5>added <eor>") != std::string::npos);
    }

    void doubleClicksTakeTheValuesFromTheLogs()
    {
        Merge m;
        m.run({
            [](QWidget* dialog) {
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text3"), Qt::LeftButton);
                ok(dialog);
            },
            [](QWidget* dialog) {
                child<QLineEdit>(dialog, "Text2")->setText(QStringLiteral("typed"));
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text2"), Qt::LeftButton);
                QCOMPARE(text(dialog, "Text5"), QStringLiteral("59"));
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text4"), Qt::LeftButton);
                ok(dialog);
            },
            [](QWidget* dialog) {
                child<QLineEdit>(dialog, "Text5")->setText(QStringLiteral("56"));
                ok(dialog);
            },
        });
        QVERIFY2(m.merged().find("<name:5>J\xC3\xB6rg <rst_sent:6>59 599 <rst_rcvd:2>56 ") != std::string::npos, m.merged().c_str());
    }

    void closedOtherwiseItRecordsTheValueShown()
    {
        Merge m;
        m.run({
            [](QWidget* dialog) {
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text3"), Qt::LeftButton);
                ok(dialog);
            },
            [](QWidget* dialog) { dialog->close(); },  // not the name chosen before: its own value shown
            [](QWidget* dialog) {
                child<QLineEdit>(dialog, "Text5")->clear();
                QTest::keyClick(dialog, Qt::Key_Escape);
            },
        });
        QVERIFY(m.merged().find("<name:5>J\xC3\xB6rg <rst_sent:2>59 <rst_rcvd:0> ") != std::string::npos);
    }

    void sameChoiceSettlesTheLaterConflictsOfItsFieldOnly()
    {
        Merge m(kThreeOpen, kThreeAdded);
        QStringList titles;
        m.run({
            [&](QWidget* dialog) {
                titled(titles)(dialog);
                QVERIFY(sameChoice(dialog)->isEnabled() && !sameChoice(dialog)->isChecked());
                QCOMPARE(sameChoice(dialog)->text(),
                         QStringLiteral("Même choix pour ce champ jusqu'à la fin [Same choice for this field until the end]"));
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text3"), Qt::LeftButton);
                sameChoice(dialog)->click();
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);  // OK is the default button
            },
            [&](QWidget* dialog) {
                titled(titles)(dialog);
                QVERIFY(!sameChoice(dialog)->isChecked());  // each showing starts unticked
                ok(dialog);
            },
            [&](QWidget* dialog) {
                titled(titles)(dialog);
                ok(dialog);
            },
        });
        QCOMPARE(titles, (QStringList{"Conflit : rst_sent [Conflict: rst_sent]", "Conflit : rst_rcvd [Conflict: rst_rcvd]",
                                      "Conflit : rst_rcvd [Conflict: rst_rcvd]"}));
        const std::string merged = m.merged();
        for (const char* record : {"<rst_sent:3>599 <rst_rcvd:2>57 ", "<rst_sent:3>588 <rst_rcvd:2>56 ",
                                   "<rst_sent:3>555 <rst_rcvd:2>54 "})
            QVERIFY2(merged.find(record) != std::string::npos, merged.c_str());
    }

    void sameChoiceIsOffForATypedValueAndClosingCountsAsOk()
    {
        Merge m(kThreeOpen, kThreeAdded);
        m.run({
            [](QWidget* dialog) {
                sameChoice(dialog)->click();
                QTest::keyClicks(child<QLineEdit>(dialog, "Text5"), QStringLiteral("9"));
                QVERIFY(!sameChoice(dialog)->isEnabled() && !sameChoice(dialog)->isChecked());
                QTest::keyClick(child<QLineEdit>(dialog, "Text5"), Qt::Key_Backspace);  // the value taken again
                QVERIFY(sameChoice(dialog)->isEnabled());
                QTest::keyClicks(child<QLineEdit>(dialog, "Text5"), QStringLiteral("9"));
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text4"), Qt::LeftButton);
                QVERIFY(sameChoice(dialog)->isEnabled() && !sameChoice(dialog)->isChecked());
                sameChoice(dialog)->click();
                QTest::keyClick(dialog, Qt::Key_Escape);
            },
            [](QWidget* dialog) {
                QTest::mouseDClick(child<QLineEdit>(dialog, "Text3"), Qt::LeftButton);
                sameChoice(dialog)->click();
                child<QLineEdit>(dialog, "Text5")->setText(QStringLiteral("51"));  // typed: no same choice
                dialog->close();
            },
            ok,  // the last contact's RST_RCVD is still asked
        });
        const std::string merged = m.merged();
        for (const char* record : {"<rst_sent:6>59 599 <rst_rcvd:2>51 ", "<rst_sent:6>58 588 <rst_rcvd:2>56 ",
                                   "<rst_sent:6>55 555 <rst_rcvd:2>54 "})
            QVERIFY2(merged.find(record) != std::string::npos, merged.c_str());
    }

    void okTakesTheFocusBackUnlessTheUserReturnsFromAnotherApplication()
    {
        Conflict conflict;
        conflict.field = "name";
        conflict.open = "Jorg";
        conflict.added = "Joerg";
        dialogs::ConflictDialog dialog(conflict);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "Command1"));

        auto* value = child<QLineEdit>(&dialog, "Text5");
        value->setFocus();
        QTest::keyClicks(value, QStringLiteral("rg"));
        value->setCursorPosition(3);
        // A window that is none of the program's widgets: to them, another application.
        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QTRY_VERIFY(!dialog.isActiveWindow());
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        QCOMPARE(dialog.focusWidget(), value);
        QCOMPARE(value->text(), QStringLiteral("Jorgrg"));
        QCOMPARE(value->cursorPosition(), 3);

        QWidget help;  // another window of the program
        help.show();
        help.activateWindow();
        QTRY_VERIFY(help.isActiveWindow());
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "Command1"));
        QCOMPARE(value->text(), QStringLiteral("Jorgrg"));

        value->setFocus();  // out of the program, then into another of its windows, then back
        elsewhere.requestActivate();
        QTRY_VERIFY(!dialog.isActiveWindow());
        help.activateWindow();
        QTRY_VERIFY(help.isActiveWindow());
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "Command1"));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::ConflictDialogTest)
#include "conflict_dialog_test.moc"
