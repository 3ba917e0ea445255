#include "gui_testing.h"

#include "dialogs/conflict_dialog.h"
#include "shell/qt_user_interface.h"

#include <QWindow>

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
    void everyWayOfClosingHandsBackTheValueShownAndTheSameChoice()
    {
        const auto ok = [](QWidget* d) { click(d, "okButton"); };
        const std::vector<std::tuple<const char*, std::function<void(QWidget*)>, QString>> rows{
            {"Enter on OK, which has the focus: the open value",
             [](QWidget* d) {
                 QStringList shown;  // alike on screen
                 for (const char* name : {"openValueEdit", "addedValueEdit", "bothValuesEdit", "chosenValueEdit"})
                     shown << box(d, name)->text();
                 QCOMPARE(shown, (QStringList{"Jörg", "Jörg", "Jörg Jörg", "Jörg"}));
                 QCOMPARE(d->focusWidget(), child<QPushButton>(d, "okButton"));
                 QTest::keyClick(d->focusWidget(), Qt::Key_Return);
             },
             line(kOpen, {})},
            {"from the logs, not from the box clicked",
             [&](QWidget* d) {
                 doubleClick(d, "addedValueEdit");
                 box(d, "openValueEdit")->setText(QStringLiteral("typed"));
                 doubleClick(d, "openValueEdit");
                 ok(d);
             },
             line(kOpen, {})},
            {"typed among Windows-1252 values, written so",
             [&](QWidget* d) { box(d, "chosenValueEdit")->setText(QStringLiteral("Jörgé")); ok(d); },
             line("J\xF6rg\xE9", {})},
            {"the emptied box", [&](QWidget* d) { box(d, "chosenValueEdit")->clear(); ok(d); }, line("", {})},
            {"the same choice",
             [&](QWidget* d) {
                 doubleClick(d, "addedValueEdit");
                 sameChoice(d)->click();
                 ok(d);
             },
             line(kAdded, ConflictSide::Added)},
            {"a key for each value, named on the dialog",
             [&](QWidget* d) {
                 QVERIFY(child<QLabel>(d, "bothHeadingLabel")->text().endsWith(QStringLiteral("Alt+S")));
                 d->activateWindow();
                 QVERIFY(QTest::qWaitForWindowActive(d));
                 QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);
                 QCOMPARE(box(d, "chosenValueEdit")->text(), QStringLiteral("Jörg Jörg"));
                 QTest::keyClick(d, Qt::Key_A, Qt::AltModifier);
                 ok(d);
             },
             line(kAdded, {})},
            {"Escape cancels the merge", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, kCancelled},
            {"the close box cancels it", [](QWidget* d) { d->close(); }, kCancelled},
            {"and its button", [](QWidget* d) { click(d, "cancelMergeButton"); }, kCancelled},
            {"a value typed, then one taken: the same choice back on",
             [&](QWidget* d) {
                 sameChoice(d)->click();
                 QTest::keyClicks(box(d, "chosenValueEdit"), QStringLiteral("9"));
                 QVERIFY(!sameChoice(d)->isEnabled() && !sameChoice(d)->isChecked());
                 QTest::keyClick(box(d, "chosenValueEdit"), Qt::Key_Backspace);
                 QVERIFY(sameChoice(d)->isEnabled());
                 QTest::keyClicks(box(d, "chosenValueEdit"), QStringLiteral("9"));
                 doubleClick(d, "bothValuesEdit");
                 QVERIFY(sameChoice(d)->isEnabled() && !sameChoice(d)->isChecked());
                 sameChoice(d)->click();
                 ok(d);
             },
             line(kOpen + " " + kAdded, ConflictSide::Both)},
            {"a side's value typed, then that side taken: the box's text stays, the same choice comes back",
             [&](QWidget* d) {
                 doubleClick(d, "bothValuesEdit");
                 box(d, "chosenValueEdit")->setText(QStringLiteral("Jörg"));
                 QVERIFY(!sameChoice(d)->isEnabled());
                 doubleClick(d, "openValueEdit");
                 sameChoice(d)->click();
                 ok(d);
             },
             line(kOpen, ConflictSide::Open)},
        };
        FakePlatform fakes;
        QPlainTextEdit pane;
        shell::QtUserInterface ui{pane, fakes.platform, nullptr};
        for (const auto& [name, act, expected] : rows) {
            Settlement settled;
            whenModal([&] { settled = ui.settleConflict(nameConflict()); }, act);
            QVERIFY2(!QTest::currentTestFailed(), name);
            const QString got =
                settled.cancelMerge ? kCancelled : line(settled.chosenValue, settled.sameChoiceUntilTheEnd);
            QVERIFY2(got == expected, qPrintable(QStringLiteral("%1: %2, not %3").arg(name, got, expected)));
        }
    }

    void okTakesTheFocusBackUnlessTheUserReturnsFromAnotherApplication()
    {
        dialogs::ConflictDialog dialog(nameConflict());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* value = box(&dialog, "chosenValueEdit");
        const auto activate = [](QWidget* window) {
            window->activateWindow();
            QTRY_VERIFY(window->isActiveWindow());
        };
        value->setFocus();
        value->setCursorPosition(3);
        QWindow elsewhere;  // none of the program's widgets: to them, another application
        elsewhere.show();
        elsewhere.requestActivate();
        QTRY_VERIFY(!dialog.isActiveWindow());
        activate(&dialog);
        QCOMPARE(dialog.focusWidget(), value);
        QCOMPARE(value->cursorPosition(), 3);

        QWidget help;  // another window of the program
        help.show();
        activate(&help);
        activate(&dialog);
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "okButton"));

        value->setFocus();  // out of the program, then into another of its windows, then back
        elsewhere.requestActivate();
        QTRY_VERIFY(!dialog.isActiveWindow());
        activate(&help);
        activate(&dialog);
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "okButton"));

        value->setFocus();  // into another of its windows, then out of the program, then back
        activate(&help);
        elsewhere.requestActivate();
        QTRY_VERIFY(!help.isActiveWindow());
        activate(&dialog);
        QCOMPARE(dialog.focusWidget(), value);
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::ConflictDialogTest)
#include "conflict_dialog_test.moc"
