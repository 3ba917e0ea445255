#include "gui_testing.h"

#include "dialogs/options_dialog.h"
#include "shell/qt_user_interface.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace logweave::testing {
namespace {

struct Options {
    FakePlatform fakes;
    QPlainTextEdit pane;
    shell::QtUserInterface ui{pane, fakes.platform, nullptr};

    // Shows the dialog as Open does; `act` works on it, then it closes by OK or, with `ok` false, otherwise.
    void show(std::function<void(QWidget*)> act, bool ok = true)
    {
        bool finished = false;
        whenModal(
            [act, ok](QWidget* dialog) {
                act(dialog);
                if (ok)
                    child<QPushButton>(dialog, "Command2")->click();
                else
                    dialog->close();
            },
            &finished);
        ui.showOptionsDialog();
        QVERIFY(finished);
    }
};

}  // namespace

class OptionsDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void firstShowsTheInitialValues()
    {
        Options o;
        o.show([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Logweave      Configuration"));
            QCOMPARE(child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("AdifCodes_Liste.txt"));
            QVERIFY(!child<QCheckBox>(dialog, "Check1")->isChecked());
            QVERIFY(!child<QCheckBox>(dialog, "Check2")->isChecked());
            QVERIFY(child<QRadioButton>(dialog, "Option1(0)")->isChecked());
            QCOMPARE(child<QLabel>(dialog, "Label1")->text(),
                     QStringLiteral("Fichier liste d'ordre des champs  [File with a fields order list] "));
            QCOMPARE(child<QLabel>(dialog, "Label5")->text(), QStringLiteral("Fichier ajouté [Adde file]"));
            QCOMPARE(child<QGroupBox>(dialog, "Frame1")->title(), QStringLiteral("Même contact [Same contact]"));
            QVERIFY(child<QRadioButton>(dialog, "Option2(0)")->isChecked());
            QCOMPARE(child<QRadioButton>(dialog, "Option2(0)")->text(),
                     QStringLiteral("Même date et heure [Same date and time]"));
            QCOMPARE(child<QRadioButton>(dialog, "Option2(1)")->text(),
                     QStringLiteral("Même indicatif, bande et mode à 30 min près [Same call, band and mode within 30 min]"));
            // Below every other choice, above OK.
            QVERIFY(child<QGroupBox>(dialog, "Frame1")->geometry().top() > child<QLabel>(dialog, "Label5")->geometry().bottom());
            QVERIFY(child<QPushButton>(dialog, "Command2")->geometry().top() > child<QGroupBox>(dialog, "Frame1")->geometry().bottom());
        });
        QVERIFY(o.ui.outputOptions() == OutputOptions{});
    }

    void okKeepsTheChoicesForTheRun()
    {
        Options o;
        o.show([](QWidget* dialog) {
            child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("mine.txt"));
            child<QCheckBox>(dialog, "Check1")->setChecked(true);
            child<QRadioButton>(dialog, "Option1(2)")->setChecked(true);
            QTest::mouseClick(child<QRadioButton>(dialog, "Option2(1)"), Qt::LeftButton);
        });
        const OutputOptions chosen{"mine.txt", true, false, HeaderSource::Program, {ContactRule::Window, 30}};
        QVERIFY(o.ui.outputOptions() == chosen);
        o.show([](QWidget* dialog) {
            QCOMPARE(child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("mine.txt"));
            QVERIFY(child<QCheckBox>(dialog, "Check1")->isChecked());
            QVERIFY(child<QRadioButton>(dialog, "Option1(2)")->isChecked());
            QVERIFY(!child<QRadioButton>(dialog, "Option1(0)")->isChecked());
            QVERIFY(child<QRadioButton>(dialog, "Option2(1)")->isChecked());
            QVERIFY(!child<QRadioButton>(dialog, "Option2(0)")->isChecked());
        });
        QVERIFY(o.ui.outputOptions() == chosen);
        o.show([](QWidget* dialog) { child<QRadioButton>(dialog, "Option2(0)")->setChecked(true); });
        QVERIFY(o.ui.outputOptions().sameContact == ContactMatch{});
    }

    void closingItOtherwiseBringsBackTheInitialValues()
    {
        Options o;
        o.show([](QWidget* dialog) {
            child<QCheckBox>(dialog, "Check2")->setChecked(true);
            child<QRadioButton>(dialog, "Option2(1)")->setChecked(true);
        });
        o.show([](QWidget* dialog) { child<QCheckBox>(dialog, "Check1")->setChecked(true); }, false);
        QVERIFY(o.ui.outputOptions() == OutputOptions{});
        o.show([](QWidget* dialog) {
            QVERIFY(!child<QCheckBox>(dialog, "Check2")->isChecked());
            QVERIFY(child<QRadioButton>(dialog, "Option2(0)")->isChecked());
        });
    }

    void browseTakesTheFullPathAndCancelEndsTheProgram()
    {
        Options o;
        const auto list = o.fakes.folder.write("order.txt", "CALL\r\n");
        o.fakes.folders.setCurrentFolder(o.fakes.folders.programFolder());
        o.fakes.fileDialog.answers = {QStringLiteral("order.txt")};  // a bare name becomes the full path
        o.show([](QWidget* dialog) { child<QPushButton>(dialog, "Command1")->click(); });
        QCOMPARE(QString::fromStdString(o.ui.outputOptions().FieldOrderFile), QString::fromStdString(list.string()));
        QCOMPARE(o.fakes.fileDialog.requests.front().nameFilters.front(), QStringLiteral("Fichiers Adif (*.txt)"));
        QCOMPARE(o.fakes.exit.ended, 0);

        o.show([](QWidget* dialog) { child<QPushButton>(dialog, "Command1")->click(); });
        QCOMPARE(o.fakes.exit.ended, 1);
    }

    void escapeNeitherClosesItNorDropsTheChoices()
    {
        Options o;
        o.show([](QWidget* dialog) {
            // Modal to its window only: the help it opens can be read meanwhile.
            QCOMPARE(dialog->windowModality(), Qt::WindowModal);
            child<QCheckBox>(dialog, "Check1")->setChecked(true);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
        });
        QVERIFY(o.ui.outputOptions().UpperCaseNames);
    }

    void itsExitMenuEndsTheProgram()
    {
        Options o;
        o.show([](QWidget* dialog) {
            QVERIFY(child<QAction>(dialog, "Mnu_Dummy")->text().isEmpty());
            child<QAction>(dialog, "Mnu_Quitter")->trigger();
        });
        QCOMPARE(o.fakes.exit.ended, 1);
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::OptionsDialogTest)
#include "options_dialog_test.moc"
