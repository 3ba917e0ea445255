// The README quotes some of the pane's texts: they must be the pane's own, so
// that a change of either the README or the pane breaks this test.

#include "temporary_folder.h"

#include "logweave/pane_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace logweave::testing {
namespace {

// Every quote of the README's prose, its line breaks and runs of blanks as one blank.
std::vector<std::string> readmeQuotes()
{
    std::istringstream lines(readBytes(LOGWEAVE_README));
    std::string prose;
    bool inCode = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("```"))
            inCode = !inCode;
        else if (!inCode)
            prose += line + ' ';
    }
    std::vector<std::string> quotes;
    for (auto open = prose.find('"'); open != std::string::npos;) {
        const auto close = prose.find('"', open + 1);
        std::string quote;
        for (const char c : prose.substr(open + 1, close - open - 1))
            if (c != ' ' || !quote.ends_with(' '))
                quote += c;
        quotes.push_back(quote);
        open = close == std::string::npos ? close : prose.find('"', close + 1);
    }
    return quotes;
}

TEST(ReadmeQuotes, AreThePanesTextsOrTheDialogsCaptions)
{
    std::vector<std::string> quotes = readmeQuotes();
    const std::string log = "/station/wsjtx_log.adi";
    const FileError changing(FileError::Action::Replace, log, LiveFileError::Rewritten);
    // Each text as the pane says it, and what follows the quoted part there.
    const std::pair<std::string, std::string> paneTexts[] = {
        {pane::tooLargeForMemory("big.adi"), " : big.adi"},
        {pane::sameChoices({{"rst_sent", 12}, {"comment", 3}}),
         " [Conflicts settled by the same choice, without a question: rst_sent 12, comment 3]"},
        {pane::noCopyNothingReplaced(log), " : " + log},
        {pane::changingDuringUpdate(changing), " : " + log + " (" + changing.code().message() + ")"},
    };
    for (const auto& [said, after] : paneTexts) {
        const auto quote = std::ranges::find_if(quotes, [&](const std::string& q) { return said == pane::paragraph(q + after); });
        EXPECT_TRUE(quote != quotes.end()) << "the README does not quote: " << said;
        if (quote != quotes.end())
            quotes.erase(quote);
    }
    // The rest are the window's own pane text and captions of the conflict and options dialogs.
    EXPECT_EQ(quotes, (std::vector<std::string>{
                          "Annulé [Cancelled]",
                          "Annuler la fusion [Cancel the merge]",
                          "Même choix pour ce champ jusqu'à la fin",
                          "Même indicatif, bande et mode à 30 min près [Same call, band and mode within 30 min]"}));
}

}  // namespace
}  // namespace logweave::testing
