// Generated logs of many shapes, and real logs written by many programs: what
// the program writes reads back to the same contacts and is written again
// byte for byte, and a log merged into itself is identical throughout.

#include "engine_fixture.h"

#include "logweave/text.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <random>

namespace logweave::testing {
namespace {

class LogGenerator {
public:
    explicit LogGenerator(unsigned seed) : random_(seed) {}

    std::string log()
    {
        const std::string br = pick(2) == 0 ? "\r\n" : "\n";
        const bool oneFieldPerLine = pick(3) == 0;
        std::string text = pick(2) == 0 ? "" : "Generated log" + br + "<PROGRAMID:4>test" + br + either("<EOH>") + br;
        for (int r = 0, records = 1 + pick(60); r < records; ++r) {
            // Each field once, as logs have them: a field given twice keeps its last value but
            // sorts by its first.
            std::vector<int> fields(kNames.size());
            std::iota(fields.begin(), fields.end(), 0);
            std::shuffle(fields.begin(), fields.end(), random_);
            fields.resize(static_cast<std::size_t>(pick(8)));
            for (const int f : fields) {
                const std::string value = this->value();
                text += tagOf(f, value.size()) + value + (oneFieldPerLine ? br : " ");
            }
            text += either("<EOR>") + br;
        }
        return text;
    }

private:
    // Tag names in the letter cases logs use.
    static constexpr std::array<const char*, 10> kNames{"CALL", "Time_On", "BAND", "MODE", "RST_SENT",
                                                        "QSO_DATE", "COMMENT", "NAME", "FREQ", "app_x_y"};

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string either(const std::string& tag) { return pick(2) == 0 ? lowerCased(tag) : tag; }

    // The length goes before the type; a record holds one form of its date.
    std::string tagOf(int index, std::size_t length)
    {
        std::string name = kNames[static_cast<std::size_t>(index)];
        std::string type;
        if (name == "QSO_DATE") {
            name = either(name);
            type = std::array<const char*, 3>{"", ":D", ":d"}[static_cast<std::size_t>(pick(3))];
        }
        return "<" + name + ":" + std::to_string(length) + type + ">";
    }

    // Anything but "<", never ending in a blank or line break (the reader trims those).
    std::string value()
    {
        static const std::string characters = "ABCxyz0189 -./:>;,'\"\t\xC3\xA9\xF6";
        std::string v;
        for (int i = pick(12); i > 0; --i)
            v += characters[static_cast<std::size_t>(pick(static_cast<int>(characters.size())))];
        if (pick(10) == 0)
            v += "\r\nline two";
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
            v.pop_back();
        return v;
    }

    std::mt19937 random_;
};

class RoundTripTest : public EngineTest {
protected:
    // Reads `text`, reads what was written again, and merges `text` into what was read.
    void roundTrip(const std::string& text, bool upperCase, bool doubleSpacing)
    {
        Workbench first(folder / "first", {"", upperCase, doubleSpacing, HeaderSource::AddedLog, {}});
        ASSERT_EQ(first.read(folder.write("generated.adi", text)), Outcome::Done) << first.ui.pane;
        Workbench second(folder / "second",
                         {(folder / "first" / "AdifCodes.txt").string(), upperCase, doubleSpacing, HeaderSource::AddedLog, {}});
        ASSERT_EQ(second.read(folder / "first" / "Adif_File.adi"), Outcome::Done);
        ASSERT_EQ(contactsOf(second.store), contactsOf(first.store));
        ASSERT_EQ(second.written(), first.written());

        // Into itself: every record meets its own text.
        std::string& pane = first.ui.pane;
        pane.clear();
        ASSERT_EQ(mergeAddedLog(first.store, first.session, (folder / "generated.adi").string(), first.ui.options), Outcome::Done);
        const std::string n = std::to_string(second.store.openRecordCount());
        ASSERT_NE(pane.find(" 0 enregistrements ajoutés"), std::string::npos) << pane.substr(0, 2000);
        ASSERT_NE(pane.find(" " + n + " enregistrements identiques"), std::string::npos) << pane.substr(0, 2000);
        ASSERT_EQ(contactsOf(first.store), contactsOf(second.store));
    }
};

TEST_F(RoundTripTest, WrittenLogsReadBackToTheSameContacts)
{
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        roundTrip(LogGenerator(seed).log(), seed % 2 == 0, seed % 3 == 0);
    }
}

TEST_F(RoundTripTest, ALargeLogOutOfOrderComesBackWhole)
{
    roundTrip(readBytes(folder.writeLargeLog("large.adi", 12)), false, false);
}

std::vector<std::filesystem::path> sampleLogs()
{
    std::vector<std::filesystem::path> logs;
    if (const auto folder = samplesFolder(); !folder.empty()) {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".adi")
                logs.push_back(entry.path());
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

class SampleLogTest : public RoundTripTest, public ::testing::WithParamInterface<std::filesystem::path> {};

TEST_P(SampleLogTest, ComesBackWhole)
{
    roundTrip(readBytes(GetParam()), false, false);
}

std::string sampleName(const ::testing::TestParamInfo<std::filesystem::path>& info)
{
    std::string name = info.param.stem().string();
    std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleLogTest, ::testing::ValuesIn(sampleLogs()), sampleName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SampleLogTest);

// Without the folder the suite above has no test at all: this one says so.
TEST(SampleLogFolder, HoldsLogsToRead)
{
    if (samplesFolder().empty())
        GTEST_SKIP() << "no sample logs in " << LOGWEAVE_SAMPLES_DIR << ": the real logs are not read";
    EXPECT_FALSE(sampleLogs().empty()) << "no .adi file in " << samplesFolder();
}

}  // namespace
}  // namespace logweave::testing
