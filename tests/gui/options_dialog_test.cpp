#include "gui_testing.h"

#include "shell/qt_user_interface.h"

#include <QRadioButton>

namespace logweave::testing {
namespace {

// The dialog shown as Open shows it; `act` works on it and closes it.
struct Options {
    FakePlatform fakes;
    QPlainTextEdit pane;
    shell::QtUserInterface ui{pane, fakes.platform, nullptr};

    void show(const std::function<void(QWidget*)>& act) { whenModal([this] { ui.showOptionsDialog(); }, act); }
};

// Ticks or selects each control named, then OK.
auto choose(std::vector<const char*> names)
{
    return [tick = ticking(std::move(names))](QWidget* dialog) {
        tick(dialog);
        click(dialog, "okButton");
    };
}

}  // namespace

class OptionsDialogTest final : public QObject {
    Q_OBJECT

    std::optional<Options> o;

private slots:
    void init() { o.emplace(); }
    void cleanup() { o.reset(); }

    void okKeepsAndSavesTheChoicesAndTheNextShowingHoldsThem()
    {
        o->show(choose({}));
        QVERIFY(o->ui.outputOptions() == OutputOptions{});  // the first showing holds the initial values
        o->show([](QWidget* dialog) {
            child<QLineEdit>(dialog, "fieldOrderFileEdit")->setText(QStringLiteral("mine.txt"));
            QTest::mouseClick(child<QRadioButton>(dialog, "sameContactButtons(1)"), Qt::LeftButton);
            choose({"upperCaseNamesCheck", "headerSourceButtons(2)"})(dialog);
        });
        QVERIFY(o->ui.outputOptions() == (OutputOptions{"mine.txt", true, false, HeaderSource::Program, {ContactRule::Window, 30}}));
        QVERIFY(o->fakes.settings.saved == o->ui.outputOptions());
        o->show([](QWidget* dialog) {
            QCOMPARE(child<QLineEdit>(dialog, "fieldOrderFileEdit")->text(), QStringLiteral("mine.txt"));
            for (const char* name : {"upperCaseNamesCheck", "headerSourceButtons(2)", "sameContactButtons(1)"})
                QVERIFY2(checked(dialog, name), name);
            for (const char* name :
                 {"doubleSpacingCheck", "headerSourceButtons(0)", "headerSourceButtons(1)", "sameContactButtons(0)"})
                QVERIFY2(!checked(dialog, name), name);
            choose({"doubleSpacingCheck", "headerSourceButtons(1)", "sameContactButtons(0)"})(dialog);
        });
        const OutputOptions chosen{"mine.txt", true, true, HeaderSource::OpenLog, {}};
        QVERIFY(o->ui.outputOptions() == chosen);
        QVERIFY(o->fakes.settings.saved == chosen);
    }

    // Closed otherwise, the choices of that showing go, the saved ones stay.
    void closingDropsTheChoices()
    {
        o->show([](QWidget* dialog) {
            ticking({"upperCaseNamesCheck"})(dialog);
            dialog->close();
        });
        QVERIFY(o->ui.outputOptions() == OutputOptions{});
        QVERIFY(o->fakes.settings.saved == OutputOptions{});
    }

    // As the controls stand, top to bottom, left to right; a group of choices
    // is one stop, at the one chosen, so that each is reached.
    void tabVisitsEveryControlInPlaceOrder_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("sameContact");
        QTest::newRow("first choices") << "headerSourceButtons(0)" << "sameContactButtons(0)";
        QTest::newRow("last choices") << "headerSourceButtons(2)" << "sameContactButtons(1)";
    }
    void tabVisitsEveryControlInPlaceOrder()
    {
        QFETCH(QString, header);
        QFETCH(QString, sameContact);
        o->show([&](QWidget* dialog) {
            for (const QString& name : {header, sameContact})
                child<QAbstractButton>(dialog, qPrintable(name))->setChecked(true);
            QCOMPARE(tabChain(box(dialog, "fieldOrderFileEdit")),
                     QStringList({"fieldOrderFileEdit", "browseFieldOrderFileButton", "upperCaseNamesCheck",
                                  "doubleSpacingCheck", header, sameContact, "okButton"}));
            click(dialog, "okButton");
        });
    }

    // A click on a check box's caption ticks it, or clears it; on a header's, chooses it.
    void aClickOnACaptionIsAClickOnItsButton_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("afterTwoClicks");
        QTest::newRow("upper case") << "upperCaseNamesLabel" << "upperCaseNamesCheck" << "on off";
        QTest::newRow("double spacing") << "doubleSpacingLabel" << "doubleSpacingCheck" << "on off";
        QTest::newRow("open file header") << "openLogHeaderLabel" << "headerSourceButtons(1)" << "on on";
        QTest::newRow("program header") << "programHeaderLabel" << "headerSourceButtons(2)" << "on on";
    }
    void aClickOnACaptionIsAClickOnItsButton()
    {
        QFETCH(QString, caption);
        QFETCH(QString, button);
        QFETCH(QString, afterTwoClicks);
        o->show([&](QWidget* dialog) {
            QStringList states;
            for (int click = 0; click < 2; ++click) {
                QTest::mouseClick(child<QLabel>(dialog, qPrintable(caption)), Qt::LeftButton);
                states << QString::fromLatin1(checked(dialog, qPrintable(button)) ? "on" : "off");
            }
            QCOMPARE(states.join(u' '), afterTwoClicks);
            click(dialog, "okButton");
        });
    }

    // Cancel in Browse's file dialog comes back to the dialog as it was, with nothing ended.
    void cancellingBrowseReturnsToTheDialog()
    {
        o->show([](QWidget* dialog) {
            box(dialog, "fieldOrderFileEdit")->setText(QStringLiteral("mine.txt"));
            click(dialog, "browseFieldOrderFileButton");
            QVERIFY(dialog->isVisible());
            QCOMPARE(box(dialog, "fieldOrderFileEdit")->text(), QStringLiteral("mine.txt"));
            click(dialog, "okButton");
        });
        QCOMPARE(o->fakes.fileDialog.requests.size(), std::size_t{1});
        QCOMPARE(o->fakes.exit.ended, 0);
        QCOMPARE(o->ui.outputOptions().fieldOrderFile, std::string("mine.txt"));
    }

    // Browse starts in the program folder, then where it was left, in a later run's dialog too.
    void browseStartsWhereItWasLeftLast()
    {
        o->fakes.fileDialog.answers = {o->fakes.write("lists/order.txt", "CALL\r\n")};
        const auto browse = [](QWidget* dialog) {
            click(dialog, "browseFieldOrderFileButton");
            click(dialog, "okButton");
        };
        o->show(browse);
        QPlainTextEdit pane;
        shell::QtUserInterface next{pane, o->fakes.platform, nullptr};
        whenModal([&] { next.showOptionsDialog(); }, browse);
        QCOMPARE(o->fakes.fileDialog.requests.size(), std::size_t{2});
        QCOMPARE(o->fakes.fileDialog.requests[0].startFolder, o->fakes.folders.programFolder());
        QCOMPARE(o->fakes.fileDialog.requests[1].startFolder, o->fakes.path("lists"));
    }

    // From any control: the options stay as saved, and nothing else is saved.
    void escapeCancels_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::newRow("list") << "fieldOrderFileEdit";
        QTest::newRow("check box") << "upperCaseNamesCheck";
        QTest::newRow("OK") << "okButton";
    }
    void escapeCancels()
    {
        QFETCH(QString, focused);
        const OutputOptions saved{"mine.txt", false, true, HeaderSource::OpenLog, {ContactRule::Window, 30}};
        FakePlatform fakes(saved);
        QPlainTextEdit pane;
        shell::QtUserInterface ui{pane, fakes.platform, nullptr};
        whenModal([&] { ui.showOptionsDialog(); }, [&](QWidget* dialog) {
            child<QLineEdit>(dialog, "fieldOrderFileEdit")->setText(QStringLiteral("other.txt"));
            ticking({"upperCaseNamesCheck", "headerSourceButtons(2)", "sameContactButtons(0)"})(dialog);
            QWidget* control = child<QWidget>(dialog, qPrintable(focused));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        });
        QVERIFY(ui.outputOptions() == saved);
        QVERIFY(fakes.settings.saved == saved);
        QCOMPARE(fakes.exit.ended, 0);
    }

    // The options saved in the program folder are those of the next start; a
    // file without them, or with words it does not know, gives the initial ones.
    void savedOptionsAreFoundAgainInTheProgramFolder()
    {
        const platform::ProgramFolders& folders = o->fakes.folders;
        QVERIFY(platform::QtSettings(folders).outputOptions() == OutputOptions{});
        const OutputOptions chosen{"élan/mine.txt", true, true, HeaderSource::Program, {ContactRule::Window, 45}};
        platform::QtSettings(folders).saveOutputOptions(chosen);
        QVERIFY(platform::QtSettings(folders).outputOptions() == chosen);
        QVERIFY(o->fakes.folder.exists("Logweave.ini"));

        o->fakes.folder.write("Logweave.ini", "[options]\nheader=nobody\nsameContact=window\nwindowMinutes=0\n");
        QVERIFY(platform::QtSettings(folders).outputOptions()
                == (OutputOptions{"AdifCodes_Liste.txt", false, false, HeaderSource::AddedLog, {ContactRule::Window, 30}}));
    }

    // A bare name becomes the full path; Browse starts in the program folder.
    void browseTakesTheFullPathOfTheListChosen()
    {
        const auto list = o->fakes.folder.write("order.txt", "CALL\r\n");
        o->fakes.fileDialog.answers = {QStringLiteral("order.txt")};
        o->show([](QWidget* dialog) {
            click(dialog, "browseFieldOrderFileButton");
            click(dialog, "okButton");
        });
        QCOMPARE(QString::fromStdString(o->ui.outputOptions().fieldOrderFile), QString::fromStdString(list.string()));
        QCOMPARE(o->fakes.fileDialog.requests.front().startFolder, o->fakes.folders.programFolder());
        QCOMPARE(o->fakes.exit.ended, 0);
    }

    void quittingEndsTheProgram()
    {
        o->show([](QWidget* dialog) {
            child<QAction>(dialog, "quitMenuAction")->trigger();
            click(dialog, "okButton");
        });
        QCOMPARE(o->fakes.exit.ended, 1);
    }

    void helpShowsTheContents()
    {
        o->show([](QWidget* dialog) {
            child<QAction>(dialog, "helpMenuAction")->trigger();
            click(dialog, "okButton");
        });
        QVERIFY((o->fakes.helpViewer.requests == std::vector<platform::HelpRequest>{
                     {(o->fakes.path("Logweave.chm") + ">W1").toStdString(), platform::HelpCommand::DisplayToc, 0, std::nullopt}}));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::OptionsDialogTest)
#include "options_dialog_test.moc"
