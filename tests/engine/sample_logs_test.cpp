// Real logs written by many programs: every one reads, and reads back as written.

#include "engine_fixture.h"

#include "logweave/merge_added_log.h"
#include "logweave/update_wsjtx_log.h"

#include <algorithm>
#include <utility>
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
    applyOptions();
    ASSERT_EQ(ReadOpenLog(session, GetParam().string()), Outcome::Done) << ui.pane;
    const auto first = contactsOf(store);

    // Read back with the inventory as its field order list, the log is written again byte for byte.
    LogStore again;
    again.programFolder = folder / "again";
    std::filesystem::create_directory(again.programFolder);
    Session second{again, ui, files};
    applyOutputOptions(second, {(folder / "AdifCodes.txt").string(), false, false, HeaderSource::AddedLog, {}});
    ASSERT_EQ(ReadOpenLog(second, (folder / "Adif_File.adi").string()), Outcome::Done);
    EXPECT_EQ(contactsOf(again), first);
    EXPECT_EQ(readBytes(again.programFolder / "Adif_File.adi"), folder.read("Adif_File.adi"));
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
    std::string sample(const char* name) const { return (samplesFolder() / name).string(); }
};

TEST_F(SamplePairTest, AnEarlierCopyOfTheSameLogAddsNothing)
{
    applyOptions();
    ASSERT_EQ(ReadOpenLog(session, sample("jtdx-2022-06-oneline-lf.adi")), Outcome::Done);
    ui.pane.clear();
    ASSERT_EQ(MergeAddedLog(session, sample("jtdx-2022-05-prefix-of-2022-06.adi"), {}), Outcome::Done);
    EXPECT_NE(ui.pane.find(" 175 enregistrements traitées [records processed].\r\n"
                           " 0 enregistrements ajoutés [records added], \r\n"
                           " 175 enregistrements identiques et [identical records and]\r\n"
                           " 0 enregistrements différents [different records].\r\n"),
              std::string::npos)
        << ui.pane;
    EXPECT_EQ(store.OpenRecordCount(), 644);
    EXPECT_TRUE(ui.conflicts.empty());
}

TEST_F(SamplePairTest, TheLaterLogAddsItsNewContacts)
{
    applyOptions();
    ASSERT_EQ(ReadOpenLog(session, sample("jtdx-2022-05-prefix-of-2022-06.adi")), Outcome::Done);
    const auto before = contactsOf(store);
    ASSERT_EQ(MergeAddedLog(session, sample("jtdx-2022-06-oneline-lf.adi"), {}), Outcome::Done);
    EXPECT_NE(ui.pane.find(" 469 enregistrements ajoutés"), std::string::npos);
    EXPECT_NE(ui.pane.find(" 175 enregistrements identiques"), std::string::npos);
    ASSERT_EQ(store.OpenRecordCount(), 644);
    const auto after = contactsOf(store);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
}

TEST_F(SamplePairTest, AWsjtxLogSurvivesItsUpdate)
{
    const std::string original = readBytes(samplesFolder() / "wsjtx-2.6.1-oneline-lf.adi");
    const std::string log = folder.write("station/wsjtx_log.adi", original).string();
    const std::string other = folder.write("other.adi", readBytes(samplesFolder() / "fle-crlf-oneline.adi")).string();
    std::filesystem::copy_file(std::filesystem::path(LOGWEAVE_DATA_DIR) / "AdifCodes_Liste_WSJT-X.txt",
                               folder / "AdifCodes_Liste_WSJT-X.txt");
    ASSERT_EQ(UpdateWsjtxLog(session, {log, other, {}}), Outcome::Done) << ui.pane;
    EXPECT_EQ(readBytes(folder / "station" / "wsjtx_log.adi_old"), original);

    const std::string updated = readBytes(folder / "station" / "wsjtx_log.adi");
    // Every contact still there...
    LogStore before;
    Session reading{before, ui, files};
    applyOutputOptions(reading, ui.options);
    before.programFolder = folder / "before";
    std::filesystem::create_directory(before.programFolder);
    ASSERT_EQ(ReadOpenLog(reading, log + "_old"), Outcome::Done);
    const auto contact = [](const LogStore& s, long long r) {
        return "<call:" + std::to_string(s.FieldValues(s.standard.Idx_CALL, r).size()) + ">"
            + std::string(s.FieldValues(s.standard.Idx_CALL, r)) + " ";
    };
    for (long long r = 1; r <= before.OpenRecordCount(); ++r)
        ASSERT_NE(updated.find(contact(before, r)), std::string::npos) << contact(before, r);
    EXPECT_EQ(store.OpenRecordCount(), before.OpenRecordCount() + 4);
    // ...one record a line, in lower case, after the header of the log merged into it.
    const std::size_t records = updated.find("<eoh>\r\n") + 7;
    ASSERT_TRUE(updated.starts_with("ADIF Export for Fast Log Entry"));
    const std::string_view body = std::string_view(updated).substr(records);
    EXPECT_EQ(std::count(body.begin(), body.end(), '\n'), store.OpenRecordCount());
    EXPECT_EQ(std::count(body.begin(), body.end(), '\r'), store.OpenRecordCount());
    EXPECT_EQ(body.find("<eor>"), body.find("<eor>\r\n"));
    EXPECT_FALSE(std::any_of(body.begin(), body.end() - 1, [&](const char& c) {
        return c == '<' && std::isupper(static_cast<unsigned char>((&c)[1]));
    }));
}

}  // namespace
}  // namespace logweave::testing
