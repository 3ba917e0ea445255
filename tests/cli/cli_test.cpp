// The batch front end as a script runs it: arguments in, pane text out, an exit status.

#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace logweave::testing {
namespace {

struct Finished {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& word)
{
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class CliTest : public ::testing::Test {
protected:
    Finished run(std::initializer_list<std::string> arguments)
    {
        std::string command = "cd " + quoted(folder.path().string()) + " && " + quoted(LOGWEAVE_CLI);
        for (const auto& a : arguments)
            command += " " + quoted(a);
        command += " 2>" + quoted((folder / "stderr.txt").string());
        Finished result{-1, {}, {}};
        std::FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            result.out.append(buffer, n);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = folder.read("stderr.txt");
        return result;
    }

    TemporaryFolder folder;
};

const std::string kOpen = "h<EOH>\r\n<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:2>59 <EOR>\r\n";
const std::string kAdded = "<CALL:5>Q1AAA <QSO_DATE:8>20230101 <TIME_ON:4>1000 <RST_SENT:3>599 <EOR>\r\n";

TEST_F(CliTest, RefusesAWrongCommandLineWithItsUsage)
{
    for (const auto& arguments : {std::initializer_list<std::string>{"--bogus", "open", "a.adi"},
                                  {"open"}, {}, {"--header", "mine", "open", "a.adi"}, {"filter", "BAND:6M"},
                                  {"wsjtx-update", "one.adi"}}) {
        const Finished r = run(arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: logweave-cli"), std::string::npos);
    }
    EXPECT_EQ(run({"--help"}).status, 0);
}

TEST_F(CliTest, PrintsWhatThePaneWouldShowAndWritesIntoTheFolder)
{
    folder.write("log.adi", kOpen);
    folder.write("prog/AdifCodes_Liste.txt", "RST_SENT\r\n");
    const Finished r = run({"--folder", "prog", "open", "log.adi"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "L'ordre des champs des fichier de sortie sera celui du fichier :\r\n"
                     "[The order of the fields in the output files will be that of the file:]\r\n"
                     "prog/AdifCodes_Liste.txt\r\n\r\n"
                     "* * *  Lecture du fichier [File read]: log.adi   * * *\r\n\r\n"
                     "h<eoh>\r\n\r\n"
                     " 1 enregistrements traitées [records processed] \r\n\r\n");
    EXPECT_EQ(folder.read("prog/Adif_File.adi"),
              "h<eoh>\r\n<rst_sent:2>59 <call:5>Q1AAA <qso_date:8>20230101 <time_on:4>1000 <eor>\r\n");
}

TEST_F(CliTest, StopsAtTheFirstCommandThatFails)
{
    const Finished r = run({"--no-order", "open", "absent.adi", "filter", "CALL:Q1AAA"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("[Cannot read the file] : absent.adi (No such file or directory)"), std::string::npos);
    EXPECT_FALSE(folder.exists("Adif_Filtre1.adi"));
    EXPECT_EQ(run({"--no-order", "open", "absent.adi"}).err, "");
}

TEST_F(CliTest, SettlesConflictsByTheRuleGiven)
{
    folder.write("open.adi", kOpen);
    folder.write("added.adi", kAdded);
    const std::pair<const char*, const char*> cases[] = {
        {"open", "<rst_sent:2>59 "}, {"added", "<rst_sent:3>599 "}, {"both", "<RST_SENT:6>59 599 "}};
    for (const auto& [rule, expected] : cases) {
        const bool upper = std::string(rule) == "both";
        const Finished r = upper ? run({"--no-order", "--upper", "--conflict", rule, "open", "open.adi", "add", "added.adi"})
                            : run({"--no-order", "--conflict", rule, "open", "open.adi", "add", "added.adi"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(folder.read("Logweave.adi").find(expected), std::string::npos) << rule;
        EXPECT_NE(r.out.find(" 1 enregistrements différents"), std::string::npos);
    }
}

TEST_F(CliTest, UpdatesTheWsjtxLogNamedInTheConfigurationFile)
{
    EXPECT_EQ(run({"wsjtx-update"}).status, 0);  // no configuration file: nothing to do
    folder.write("AdifCodes_Liste_WSJT-X.txt", "call\r\n");
    folder.write("station/wsjtx_log.adi", kOpen);
    folder.write("added.adi", kAdded);
    folder.write("Logweave.cfg", "FicToUpdate = station/wsjtx_log.adi\r\nFicToMerge = added.adi\r\n");
    const Finished r = run({"--conflict", "added", "wsjtx-update"});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(r.out.ends_with("station/wsjtx_log.adi   et [and]\r\nstation/Wsjtx.log   remplacés [replaced]"));
    EXPECT_EQ(folder.read("station/wsjtx_log.adi_old"), kOpen);
    EXPECT_NE(folder.read("station/wsjtx_log.adi").find("<rst_sent:3>599 <eor>"), std::string::npos);
}

}  // namespace
}  // namespace logweave::testing
