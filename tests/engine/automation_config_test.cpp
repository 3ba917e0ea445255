#include "engine_fixture.h"

#include "logweave/automation_config.h"

namespace logweave::testing {
namespace {

AutomationPaths parse(std::string_view text)
{
    return parseAutomationFile(text, {});
}

TEST(AutomationConfig, TakesThePathsAndTheContactRuleAsWritten)
{
    const ContactMatch window{ContactRule::Window, 45};
    const std::pair<std::string, AutomationPaths> cases[] = {
        {"'comment\r\nAction = WSJT-X Log update\r\nFicToUpdate =  /a b.adi \r\nFicToMerge =/c.adi\r\n",
         {"/a b.adi", "/c.adi", {}}},
        // A lone CR ends a line, as LF does; no path keeps one.
        {"FicToUpdate = /a b.adi\rFicToMerge = /c.adi\r\r\n", {"/a b.adi", "/c.adi", {}}},
        // LF line ends and blank lines; a key without its blank before "=", commented or in lower case is none.
        {"\nFicToUpdate= /x.adi\n\nFicToMerge = /c.adi\n", {"", "/c.adi", {}}},
        {"'FicToUpdate = /a.adi\nfictoupdate = /b.adi\n", {}},
        // Another action stops the reading; what came before stands.
        {"Action = WSJT-X Log update \nFicToUpdate = /a\nFicToMerge = /b\n", {}},
        {"FicToUpdate = /a\nFicToMerge = /b\nAction = Other\nFicToMerge = /c\n", {"/a", "/b", {}}},
        {"action = Other\nFicToUpdate = /a\n", {"/a", "", {}}},
        // The last value wins, even when empty.
        {"FicToUpdate = /a\nFicToMerge = /b\nFicToUpdate =\n", {"", "/b", {}}},
        {"FicToUpdate = /a\nFicToMerge = /b\nMatch = window 45\n", {"/a", "/b", window}},
        {"Match = window\n", {}},
        {"Match = window 30x\n", {}},
        {"Match = exact\n", {}},
        {"Match= window 30\n", {}},
    };
    for (const auto& [text, paths] : cases)
        EXPECT_EQ(parse(text), paths) << text;
    EXPECT_EQ(parseAutomationFile("FicToMerge = /c\n", {"/kept", "/b", {}}), (AutomationPaths{"/kept", "/c", {}}));
}

using AutomationFileTest = EngineTest;

// What is saved reads back through the lines of the table above.
TEST_F(AutomationFileTest, SavesThePathsAsTypedAndTheWindowRule)
{
    saveAutomationFile(files, folder.path(), " /log a.adi ", "/log b.adi");
    EXPECT_EQ(folder.read("Logweave.cfg"),
              "'Fichier de configuration de Logweave [Logweave file configuration]\r\n"
              "Action = WSJT-X Log update\r\nFicToUpdate =  /log a.adi \r\nFicToMerge = /log b.adi\r\n");
    saveAutomationFile(files, folder.path(), "/a.adi", "/b.adi", {ContactRule::Window, 30});
    EXPECT_TRUE(folder.read("Logweave.cfg").ends_with("FicToMerge = /b.adi\r\nMatch = window 30\r\n"));
}

TEST_F(AutomationFileTest, RunsNoUpdateUnlessBothPathsAreNamedInAFileItCanRead)
{
    folder.write("Logweave.cfg", "FicToUpdate = /a\r\nFicToMerge = /b\r\n");
    files.failOn(FileError::Action::Read, "Logweave.cfg", std::make_error_code(std::errc::resource_unavailable_try_again));
    EXPECT_EQ(runSavedUpdate(store, session, ui.options), Outcome::Done);
    files.fault = nullptr;
    folder.write("Logweave.cfg", "FicToUpdate = " + (folder / "none.adi").string() + "\r\n");
    EXPECT_EQ(runSavedUpdate(store, session, ui.options), Outcome::Done);
    EXPECT_EQ(ui.pane, "");
}

TEST_F(AutomationFileTest, TheUpdateAtStartUpMatchesContactsAsSaved)
{
    folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
    const auto log = folder.write("wsjtx_log.adi", "<call:5>Q1AAA <qso_date:8>20230101 <time_on:6>100015 <band:3>20m "
                                                   "<mode:3>FT8 <eor>\n");
    const auto other = folder.write("download.adi", "<CALL:5>Q1AAA <QSO_DATE:8:D>20230101 <TIME_ON:4>1000 "
                                                    "<BAND:3>20m <MODE:3>FT8 <EOR>\n");
    saveAutomationFile(files, folder.path(), log.string(), other.string(), {ContactRule::Window, 30});
    ASSERT_EQ(runSavedUpdate(store, session, ui.options), Outcome::Done) << ui.pane;
    EXPECT_TRUE(paneHas(" 0 enregistrements ajoutés")) << ui.pane;
}

}  // namespace
}  // namespace logweave::testing
