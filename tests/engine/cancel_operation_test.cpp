// A cancel at any phase of any operation: every file as it was, no temporary
// file left, the open log as before, and the pane saying so.

#include "cancelling_interface.h"
#include "engine_fixture.h"

#include <map>
#include <vector>
#include <ostream>

namespace logweave::testing {
namespace {

namespace fs = std::filesystem;

enum class Operation { Open, Add, AddByWindow, Filter, WsjtxUpdate };

struct CancelAt {
    const char* name;
    Operation operation;
    Phase phase;
    int nth;  // the progress shown of that phase from which the user asks
    unsigned threads = 1;
};

void PrintTo(const CancelAt& at, std::ostream* out)
{
    *out << at.name;
}

// `count` contacts a minute apart from `first`, in an order of their own
// when `shuffled`; each is 20m FT8 or 40m CW in turn.
std::string contacts(int first, int count, bool shuffled)
{
    std::string log = "made by hand<eoh>\n";
    for (int k = 0; k < count; ++k) {
        const int i = first + (shuffled ? k * 37 % count : k);
        const std::string hhmm = std::to_string(1000 + i / 60 * 100 + i % 60).substr(0, 4);
        log += qso("Q" + std::to_string(10000 + i), "2023010" + std::to_string(1 + i / 600), hhmm + "00",
                   i % 2 ? "<BAND:3>40M <MODE:2>CW " : "<BAND:3>20M <MODE:3>FT8 ");
    }
    return log;
}

using Files = std::map<std::string, std::string>;

// Every file under `folder`, by its path there, with its bytes.
Files filesUnder(const fs::path& folder)
{
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).generic_string()] = readBytes(entry.path());
    return files;
}

// The files made, removed or changed: their names only, a failure a reader can take in.
std::vector<std::string> changed(const Files& before, const Files& after)
{
    std::vector<std::string> names;
    for (const auto& [name, bytes] : after)
        if (const auto was = before.find(name); was == before.end() || was->second != bytes)
            names.push_back(name);
    for (const auto& [name, bytes] : before)
        if (!after.contains(name))
            names.push_back(name);
    return names;
}

class CancelTest : public EngineTest, public ::testing::WithParamInterface<CancelAt> {
protected:
    // A log is open, and every file an operation writes is there from before.
    void SetUp() override
    {
        folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\nqso_date\r\ntime_on\r\n");
        folder.write("shuffled.adi", contacts(0, 300, true));
        folder.write("added.adi", contacts(150, 300, false));
        folder.write("station/wsjtx_log.adi", contacts(0, 300, true));
        folder.write("station/Wsjtx.log", "earlier\r\n");
        folder.write("other.adi", contacts(200, 300, false));
        ASSERT_EQ(open(contacts(0, 3, false), "first.adi"), Outcome::Done) << ui.pane;
        for (const char* name : {"Logweave.adi", "Logweave.log", "Logweave_Changes.csv", "Adif_Filtre1.adi",
                                 "Adif_Filtre2.adi"})
            folder.write(name, "earlier\r\n");
        ui.pane.clear();
    }

    Outcome run(Operation operation, const Session& cancelling)
    {
        const std::string station = (folder / "station/wsjtx_log.adi").string();
        switch (operation) {
        case Operation::Open:
            return readOpenLog(store, cancelling, (folder / "shuffled.adi").string(), ui.options);
        case Operation::Add:
            return mergeAddedLog(store, cancelling, (folder / "added.adi").string(), ui.options);
        case Operation::AddByWindow: {
            OutputOptions options = ui.options;
            options.sameContact = {ContactRule::Window, 30};
            return mergeAddedLog(store, cancelling, (folder / "added.adi").string(), options);
        }
        case Operation::Filter:
            return filterOpenLog(store, cancelling, "BAND:20M;MODE:FT8", ui.options);
        case Operation::WsjtxUpdate:
            return updateWsjtxLog(store, cancelling, {station, (folder / "other.adi").string(), ui.options});
        }
        return Outcome::Done;
    }
};

TEST_P(CancelTest, LeavesEveryFileAndTheOpenLogAsTheyWere)
{
    const CancelAt at = GetParam();
    // A filter of a larger log than first.adi; a merge that works it out while the added log is read.
    if (at.operation == Operation::Filter || at.operation == Operation::AddByWindow) {
        ASSERT_EQ(open(folder.read("shuffled.adi")), Outcome::Done);
    }
    const auto filesBefore = filesUnder(folder.path());
    const auto logBefore = contactsOf(store);
    const std::string pathBefore = store.openLogPath();
    ui.pane.clear();

    CancellingInterface user(ui, at.phase, at.nth);
    EXPECT_EQ(run(at.operation, {user, files, folder.path(), at.threads}), Outcome::Stopped) << ui.pane;
    ASSERT_TRUE(user.asked()) << "the phase showed its progress " << user.shown() << " times";
    EXPECT_EQ(contactsOf(store), logBefore);
    EXPECT_EQ(store.openLogPath(), pathBefore);
    EXPECT_TRUE(ui.pane.ends_with(pane::cancelled())) << ui.pane;
    EXPECT_EQ(changed(filesBefore, filesUnder(folder.path())), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    EachPhase, CancelTest,
    ::testing::Values(CancelAt{"OpenAsItBegins", Operation::Open, Phase::Reading, 1},
                      CancelAt{"OpenWhileReading", Operation::Open, Phase::Reading, 100},
                      CancelAt{"OpenWhileSorting", Operation::Open, Phase::Sorting, 1},
                      CancelAt{"OpenAsItBeginsWriting", Operation::Open, Phase::Writing, 1},
                      CancelAt{"OpenWhileWriting", Operation::Open, Phase::Writing, 150},
                      CancelAt{"AddWhileReading", Operation::Add, Phase::Reading, 100},
                      CancelAt{"AddAsItBeginsMerging", Operation::Add, Phase::Merging, 1},
                      CancelAt{"AddWhileMerging", Operation::Add, Phase::Merging, 150},
                      CancelAt{"AddByWindowWhileReading", Operation::AddByWindow, Phase::Reading, 100, 2},
                      CancelAt{"AddByWindowWhileMerging", Operation::AddByWindow, Phase::Merging, 150, 2},
                      CancelAt{"FilterAsItBegins", Operation::Filter, Phase::Filtering, 1},
                      CancelAt{"FilterHalfway", Operation::Filter, Phase::Filtering, 150},
                      CancelAt{"UpdateWhileReading", Operation::WsjtxUpdate, Phase::Reading, 100},
                      CancelAt{"UpdateWhileSorting", Operation::WsjtxUpdate, Phase::Sorting, 1},
                      CancelAt{"UpdateAsItBeginsWriting", Operation::WsjtxUpdate, Phase::Writing, 1},
                      CancelAt{"UpdateWhileMerging", Operation::WsjtxUpdate, Phase::Merging, 150}),
    [](const ::testing::TestParamInfo<CancelAt>& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace logweave::testing
