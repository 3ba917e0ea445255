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

    // Escape does not close it; closed otherwise, the choices of that showing go, the saved ones stay.
    void escapeDoesNotCloseItAndClosingDropsTheChoices()
    {
        o->show([](QWidget* dialog) {
            ticking({"upperCaseNamesCheck"})(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            dialog->close();
        });
        QVERIFY(o->ui.outputOptions() == OutputOptions{});
        QVERIFY(o->fakes.settings.saved == OutputOptions{});
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

    void cancellingBrowseOrQuittingEndsTheProgram_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("Cancel in Browse") << "browseFieldOrderFileButton";
        QTest::newRow("Quit") << "quitMenuAction";
    }

    void cancellingBrowseOrQuittingEndsTheProgram()
    {
        QFETCH(QString, control);
        o->show([&](QWidget* dialog) {
            if (auto* button = dialog->findChild<QAbstractButton*>(control))
                button->click();
            else
                child<QAction>(dialog, qPrintable(control))->trigger();
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
