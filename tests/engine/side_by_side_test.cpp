// Work shared among threads gives the bytes one thread gives: the record
// lines of a big log cut into pieces anywhere, its records formatted in
// rounds cut among the threads, a merge written on a second thread.

#include "workbench.h"

#include "batch_hand_off.h"
#include "logweave/pane_texts.h"
#include "writing/write_records.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <random>
#include <stdexcept>
#include <thread>

namespace logweave::testing {
namespace {

// About `megabytes` of contacts out of order, some one field a line, with
// fields that first appear deep in the log. A few last ones carry a second,
// earlier date: sorted last by their first, they break the order the store
// keeps by their second.
std::string bigLog(int megabytes, unsigned seed = 11)
{
    std::mt19937 random(seed);
    std::string text = "big log\r\n<ADIF_VER:5>3.1.4\r\n<EOH>\r\n";
    for (int i = 0; text.size() < (std::size_t{1} << 20) * static_cast<std::size_t>(megabytes); ++i) {
        const std::string separator = random() % 7 == 0 ? "\r\n" : " ";
        const std::string call = "Q" + std::to_string(10000 + random() % 90000);
        const bool lateDate = i % 997 == 996;
        const std::string date = lateDate ? "20231231" : "2023" + std::to_string(1001 + random() % 28);
        text += "<CALL:6>" + call + separator + "<QSO_DATE:8>" + date + separator
            + "<TIME_ON:4>" + std::to_string(1000 + random() % 1300) + separator + "<BAND:3>20M <MODE:3>FT8";
        if (i % 5000 == 4999)  // a type's letter as the log writes it stays in AdifCodes.txt
            text += " <app_late_" + std::to_string(i / 5000) + ":1:s>x";
        if (random() % 3 == 0)
            text += " <COMMENT:9>73 été ok";
        if (lateDate)
            text += " <QSO_DATE:8>20220101";
        text += random() % 11 == 0 ? "<eor>\r\n" : " <EOR>\n";
    }
    return text;
}

struct Result {
    std::string adif, codes, kept, removed, merged, contacts, changes, mergedByDate, changesByDate, pane;
    bool operator==(const Result&) const = default;
};

// Many contacts of the added log are in the open one, some a minute apart.
TEST(SideBySide, OpeningFilteringAndAddingBigLogsWithMoreThreadsWritesTheSameBytes)
{
    TemporaryFolder folder;
    const auto log = folder.write("big.adi", bigLog(9));
    const auto added = folder.write("added.adi", bigLog(5, 12));
    // The added log's contacts with another comment, and contacts of its own.
    std::string again = bigLog(5, 12);
    const std::string_view comment = "73 été ok";
    for (auto at = again.find(comment); at != std::string::npos; at = again.find(comment, at))
        again.replace(at, comment.size(), "73 gl");
    const std::string more = bigLog(1, 13);
    const auto other = folder.write("other.adi", again + more.substr(more.find("<EOH>\r\n") + 7));
    const auto openWith = [&](unsigned threads) {
        Workbench bench(folder / ("threads" + std::to_string(threads)));
        bench.session.threads = threads;
        bench.ui.options.sameContact = {ContactRule::Window, 30};
        EXPECT_EQ(bench.read(log), Outcome::Done);
        EXPECT_EQ(filterOpenLog(bench.store, bench.session, "COMMENT:73 été ok", bench.ui.options), Outcome::Done);
        EXPECT_EQ(mergeAddedLog(bench.store, bench.session, added.string(), bench.ui.options), Outcome::Done);
        const std::string merged = bench.written("Logweave.adi");
        const std::string contacts = bench.written("Logweave.log");
        const std::string changes = bench.written("Logweave_Changes.csv");
        bench.ui.options.sameContact = {};  // by date and time alone
        EXPECT_EQ(mergeAddedLog(bench.store, bench.session, other.string(), bench.ui.options), Outcome::Done);
        // The pane names the changes' list in the program folder, one for each run.
        std::string pane = bench.ui.pane;
        const std::string programFolder = bench.session.programFolder.string();
        for (auto at = pane.find(programFolder); at != std::string::npos; at = pane.find(programFolder))
            pane.replace(at, programFolder.size(), "FOLDER");
        return Result{bench.written(), bench.written("AdifCodes.txt"), bench.written("Adif_Filtre1.adi"),
                      bench.written("Adif_Filtre2.adi"), merged, contacts, changes, bench.written("Logweave.adi"),
                      bench.written("Logweave_Changes.csv"), pane};
    };
    const Result one = openWith(1);
    ASSERT_GT(one.adif.size(), std::size_t{8} << 20);
    // Both merges met contacts of both kinds: new ones, and ones that differ.
    for (const std::string* changes : {&one.changes, &one.changesByDate}) {
        ASSERT_NE(changes->find("\nadded,"), std::string::npos);
        ASSERT_NE(changes->find("\ndiffers,"), std::string::npos);
    }
    ASSERT_NE(one.pane.find("hors de l'ordre"), std::string::npos);
    EXPECT_EQ(openWith(2), one);
    EXPECT_EQ(openWith(3), one);
}

class Collected : public FileWriter {
public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

// Every count around the rounds' size, every way of cutting a round, two
// files: each receives its records in order.
TEST(SideBySide, RecordsFormattedSideBySideComeInTheirOrder)
{
    const auto formatter = [] {
        return RecordFormatter([](std::size_t r, std::span<std::string* const> texts) {
            const std::size_t file = r % 3 == 0 ? 1 : 0;
            texts[file]->append(r % 7, '.').append(std::to_string(r)) += '\n';
            return file;
        });
    };
    for (const std::size_t count : {0, 1, 3, 511, 512, 513, 8191, 8192, 8193, 40000}) {
        std::string expected[2];
        std::string* const expectedTexts[] = {&expected[0], &expected[1]};
        for (std::size_t r = 0; r < count; ++r)
            formatter()(r, expectedTexts);
        for (const std::size_t threads : {1, 2, 3, 5}) {
            Collected first, second;
            StreamedText texts[] = {StreamedText(first), StreamedText(second)};
            texts[0].text() = "header\n";
            StreamedText* const files[] = {&texts[0], &texts[1]};
            std::size_t reported = 0;
            const auto counts = writeRecords(files, count, threads, formatter, [&](std::size_t n) {
                EXPECT_GT(n, reported);
                reported = n;
            });
            texts[0].finish();
            texts[1].finish();
            EXPECT_EQ(first.text, "header\n" + expected[0]) << count << " records, " << threads << " threads";
            EXPECT_EQ(second.text, expected[1]) << count << " records, " << threads << " threads";
            EXPECT_EQ(counts, (std::vector<std::uint64_t>{count - (count + 2) / 3, (count + 2) / 3}));
            EXPECT_EQ(reported, count);
        }
    }
}

// Batches filled here while the second thread works on the one before: each
// is worked on once, whole, in the order handed off, however long the work.
TEST(BatchHandOff, WorksOnEachBatchOnceInTheOrderHandedOff)
{
    for (const unsigned threads : {1U, 2U}) {
        std::vector<int> batches[2];
        std::vector<int> done;
        BatchHandOff handOff(threads, [&](std::size_t b) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            done.insert(done.end(), batches[b].begin(), batches[b].end());
            batches[b].clear();
        });
        for (int i = 0; i < 2000; ++i) {
            batches[handOff.filling()].push_back(i);
            if (i % 7 != 6)
                continue;
            handOff.handOff();
            // Never the batch being worked on.
            ASSERT_TRUE(batches[handOff.filling()].empty()) << threads << " threads, at " << i;
        }
        handOff.handOff();
        handOff.finish();
        std::vector<int> expected(2000);
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(done, expected) << threads << " threads";
    }
}

// What the work threw reaches the thread that hands batches off, and no
// batch is worked on after it.
TEST(BatchHandOff, ThrowsWhatTheWorkThrewWhereBatchesAreHandedOff)
{
    for (const unsigned threads : {1U, 2U}) {
        int worked = 0;
        BatchHandOff handOff(threads, [&worked](std::size_t) {
            if (++worked == 3)
                throw std::runtime_error("the disk is full");
        });
        EXPECT_THROW(
            {
                for (int i = 0; i < 10; ++i)
                    handOff.handOff();
                handOff.finish();
            },
            std::runtime_error)
            << threads << " threads";
        EXPECT_EQ(worked, 3) << threads << " threads";
    }
}

}  // namespace
}  // namespace logweave::testing
