// Real logs written by many programs: every one reads, and reads back as written.

#include "count_of.h"
#include "engine_fixture.h"

#include "logweave/dated_copies.h"
#include "logweave/operations.h"

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

class SamplePairTest : public EngineTest {
protected:
    void SetUp() override
    {
        if (samplesFolder().empty())
            GTEST_SKIP() << "no sample logs beside the project";
    }
};

TEST_F(SamplePairTest, AWsjtxLogSurvivesItsUpdate)
{
    const std::string original = readBytes(samplesFolder() / "wsjtx-2.6.1-oneline-lf.adi");
    const std::string log = folder.write("station/wsjtx_log.adi", original).string();
    const std::string other = folder.write("other.adi", readBytes(samplesFolder() / "fle-crlf-oneline.adi")).string();
    std::filesystem::copy_file(std::filesystem::path(LOGWEAVE_DATA_DIR) / "AdifCodes_Liste_WSJT-X.txt",
                               folder / "AdifCodes_Liste_WSJT-X.txt");
    ASSERT_EQ(updateWsjtxLog(store, session, {log, other, ui.options}), Outcome::Done) << ui.pane;
    EXPECT_EQ(readBytes(log + "_old"), original);
    const std::string updated = readBytes(log);
    ASSERT_TRUE(updated.starts_with("ADIF Export for Fast Log Entry"));  // the header of the log merged into it

    // Every contact still there, one record a line, in lower case.
    Workbench before(folder / "before", ui.options);
    ASSERT_EQ(before.read(log + "_old"), Outcome::Done);
    for (long long r = 1; r <= before.store.openRecordCount(); ++r) {
        const auto call = before.store.fieldValue(before.store.standardFields().call, r);
        ASSERT_NE(updated.find("<call:" + std::to_string(call.size()) + ">" + std::string(call) + " "), std::string::npos)
            << call;
    }
    EXPECT_EQ(store.openRecordCount(), before.store.openRecordCount() + 4);
    const std::string_view body = std::string_view(updated).substr(updated.find("<eoh>\r\n") + 7);
    EXPECT_EQ(std::count(body.begin(), body.end(), '\n'), store.openRecordCount());
    EXPECT_EQ(std::count(body.begin(), body.end(), '\r'), store.openRecordCount());
    EXPECT_EQ(countOf(body, "<eor>\r\n"), store.openRecordCount());
    EXPECT_FALSE(std::any_of(body.begin(), body.end() - 1, [&](const char& c) {
        return c == '<' && std::isupper(static_cast<unsigned char>((&c)[1]));
    }));
}

}  // namespace
}  // namespace logweave::testing
