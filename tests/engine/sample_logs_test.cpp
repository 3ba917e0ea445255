// Real logs written by many programs: every one reads, and reads back as written.

#include "engine_fixture.h"

#include <algorithm>
#include <vector>

namespace logweave::testing {
namespace {

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

class SampleLogTest : public EngineTest, public ::testing::WithParamInterface<std::filesystem::path> {};

TEST_P(SampleLogTest, ReadsAndReadsBackTheSameContacts)
{
    ASSERT_EQ(readOpenLog(store, session, GetParam().string(), ui.options), Outcome::Done) << ui.pane;
    // Read back with the inventory as its field order list, the log is written again byte for byte.
    Workbench again(folder / "again", {(folder / "AdifCodes.txt").string(), false, false, HeaderSource::AddedLog, {}});
    ASSERT_EQ(again.read(folder / "Adif_File.adi"), Outcome::Done);
    EXPECT_EQ(contactsOf(again.store), contactsOf(store));
    EXPECT_EQ(again.written(), folder.read("Adif_File.adi"));
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
