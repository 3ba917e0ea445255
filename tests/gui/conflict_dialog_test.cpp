#include "gui_testing.h"

#include "dialogs/conflict_dialog.h"
#include "shell/qt_user_interface.h"

#include <QWindow>

using DialogAction = std::function<void(QWidget*)>;
Q_DECLARE_METATYPE(DialogAction)

namespace logweave::testing {
namespace {

// Alike on screen, apart in their bytes: Windows-1252 and UTF-8.
const std::string kOpen = "J\xF6rg";
const std::string kAdded = "J\xC3\xB6rg";

Conflict nameConflict()
{
    Conflict conflict;
    conflict.field = "name";
    conflict.open = kOpen;
    conflict.added = kAdded;
    return conflict;
}

QCheckBox* sameChoice(QWidget* dialog)
{
    return child<QCheckBox>(dialog, "sameChoiceCheck");
}

void doubleClick(QWidget* dialog, const char* name)
{
    QTest::mouseDClick(box(dialog, name), Qt::LeftButton);
}

// A settlement as one line: the value's bytes, then the side later conflicts take.
QString line(const std::string& value, std::optional<ConflictSide> side)
{
    static const char* const sides[] = {"open", "added", "both"};
    return QString::fromLatin1(QByteArray::fromStdString(value).toHex(' ')) + " / "
        + (side ? sides[static_cast<int>(*side)] : "ask");
}

const QString kCancelled = QStringLiteral("merge cancelled");

}  // namespace

class ConflictDialogTest final : public QObject {
    Q_OBJECT

private slots:
    // Each row settles one conflict through the window's interface; closing otherwise cancels the merge.
    void everyWayOfClosingHandsBackTheValueShownAndTheSameChoice_data()
    {
        QTest::addColumn<DialogAction>("act");
        QTest::addColumn<QString>("settled");
        QTest::newRow("Enter on OK, which has the focus: the open value") << DialogAction([](QWidget* d) {
            QStringList shown;  // alike on screen
            for (const char* name : {"openValueEdit", "addedValueEdit", "bothValuesEdit", "chosenValueEdit"})
                shown << box(d, name)->text();
            QCOMPARE(shown, (QStringList{"Jörg", "Jörg", "Jörg Jörg", "Jörg"}));
            QCOMPARE(d->focusWidget(), child<QPushButton>(d, "okButton"));
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        }) << line(kOpen, {});
        QTest::newRow("from the logs, not from the box clicked") << DialogAction([](QWidget* d) {
            doubleClick(d, "addedValueEdit");
            box(d, "openValueEdit")->setText(QStringLiteral("typed"));
            doubleClick(d, "openValueEdit");
            click(d, "okButton");
        }) << line(kOpen, {});
        QTest::newRow("typed among Windows-1252 values, written so") << DialogAction([](QWidget* d) {
            box(d, "chosenValueEdit")->setText(QStringLiteral("Jörgé"));
            click(d, "okButton");
        }) << line("J\xF6rg\xE9", {});
        QTest::newRow("the emptied box") << DialogAction([](QWidget* d) {
            box(d, "chosenValueEdit")->clear();
            click(d, "okButton");
        }) << line("", {});
        QTest::newRow("the same choice") << DialogAction([](QWidget* d) {
            doubleClick(d, "addedValueEdit");
            sameChoice(d)->click();
            click(d, "okButton");
        }) << line(kAdded, ConflictSide::Added);
        QTest::newRow("a key for each value, named on the dialog") << DialogAction([](QWidget* d) {
            QVERIFY(child<QLabel>(d, "bothHeadingLabel")->text().endsWith(QStringLiteral("Alt+S")));
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);
            QCOMPARE(box(d, "chosenValueEdit")->text(), QStringLiteral("Jörg Jörg"));
            QTest::keyClick(d, Qt::Key_A, Qt::AltModifier);
            click(d, "okButton");
        }) << line(kAdded, {});
        QTest::newRow("Escape cancels the merge")
            << DialogAction([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }) << kCancelled;
        QTest::newRow("the close box cancels it") << DialogAction([](QWidget* d) { d->close(); }) << kCancelled;
        QTest::newRow("and its button") << DialogAction([](QWidget* d) { click(d, "cancelMergeButton"); })
                                        << kCancelled;
        QTest::newRow("a value typed, then one taken: the same choice back on") << DialogAction([](QWidget* d) {
            sameChoice(d)->click();
            QTest::keyClicks(box(d, "chosenValueEdit"), QStringLiteral("9"));
            QVERIFY(!sameChoice(d)->isEnabled() && !sameChoice(d)->isChecked());
            QTest::keyClick(box(d, "chosenValueEdit"), Qt::Key_Backspace);
            QVERIFY(sameChoice(d)->isEnabled());
            QTest::keyClicks(box(d, "chosenValueEdit"), QStringLiteral("9"));
            doubleClick(d, "bothValuesEdit");
            QVERIFY(sameChoice(d)->isEnabled() && !sameChoice(d)->isChecked());
            sameChoice(d)->click();
            click(d, "okButton");
        }) << line(kOpen + " " + kAdded, ConflictSide::Both);
        QTest::newRow("a side's value typed, then that side taken: the text stays, the same choice comes back")
            << DialogAction([](QWidget* d) {
                   doubleClick(d, "bothValuesEdit");
                   box(d, "chosenValueEdit")->setText(QStringLiteral("Jörg"));
                   QVERIFY(!sameChoice(d)->isEnabled());
                   doubleClick(d, "openValueEdit");
                   sameChoice(d)->click();
                   click(d, "okButton");
               })
            << line(kOpen, ConflictSide::Open);
    }

    void everyWayOfClosingHandsBackTheValueShownAndTheSameChoice()
    {
        QFETCH(DialogAction, act);
        QFETCH(QString, settled);
        FakePlatform fakes;
        QPlainTextEdit pane;
        shell::QtUserInterface ui{pane, fakes.platform, nullptr};
        Settlement got;
        whenModal([&] { got = ui.settleConflict(nameConflict()); }, act);
        QCOMPARE(got.cancelMerge ? kCancelled : line(got.chosenValue, got.sameChoiceUntilTheEnd), settled);
    }

    // OK takes the focus back, unless the user comes back from another application.
    void theFocusOnReturning_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<bool>("okFocused");
        QTest::newRow("from another application") << QStringList{"elsewhere"} << false;
        QTest::newRow("from another window of the program") << QStringList{"help"} << true;
        QTest::newRow("out of the program, then into another of its windows") << QStringList{"elsewhere", "help"} << true;
        QTest::newRow("into another of its windows, then out of the program") << QStringList{"help", "elsewhere"} << false;
    }

    void theFocusOnReturning()
    {
        QFETCH(QStringList, visits);
        QFETCH(bool, okFocused);
        dialogs::ConflictDialog dialog(nameConflict());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* value = box(&dialog, "chosenValueEdit");
        value->setFocus();
        value->setCursorPosition(3);
        QWindow elsewhere;  // none of the program's widgets: to them, another application
        QWidget help;       // another window of the program
        for (const QString& visit : visits) {
            if (visit == QLatin1String("help")) {
                help.show();
                help.activateWindow();
                QTRY_VERIFY(help.isActiveWindow());
            } else {
                elsewhere.show();
                elsewhere.requestActivate();
                QTRY_VERIFY(!dialog.isActiveWindow() && !help.isActiveWindow());
            }
        }
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        if (okFocused) {
            QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "okButton"));
        } else {
            QCOMPARE(dialog.focusWidget(), value);
            QCOMPARE(value->cursorPosition(), 3);
        }
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::ConflictDialogTest)
#include "conflict_dialog_test.moc"
