#include "writing/write_records.h"

#include "side_by_side.h"

#include <algorithm>
#include <atomic>

namespace logweave {
namespace {

// Rounds of records, each cut into chunks that the threads take in turn
// and format into texts of their own; the texts are then written in order
// while the threads format the next round. A round of a few MiB keeps the
// texts small and the threads' starts rare.
constexpr std::size_t kChunk = 512;
constexpr std::size_t kChunksInARound = 16;
constexpr std::size_t kRound = kChunk * kChunksInARound;

struct Round {
    std::size_t from = 0;
    std::size_t to = 0;
    std::vector<std::vector<std::string>> chunks;  // each chunk's text for each file

    std::size_t chunkCount() const noexcept { return (to - from + kChunk - 1) / kChunk; }
};

std::vector<std::uint64_t> writeOnThisThread(std::span<StreamedText* const> files, std::size_t count,
                                             const RecordFormatter& format,
                                             const std::function<void(std::size_t)>& written)
{
    std::vector<std::string*> texts;
    for (StreamedText* file : files)
        texts.push_back(&file->text());
    std::vector<std::uint64_t> counts(files.size());
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t f = format(r, texts);
        files[f]->recordDone();
        ++counts[f];
        written(r + 1);
    }
    return counts;
}

}  // namespace

std::vector<std::uint64_t> writeRecords(std::span<StreamedText* const> files, std::size_t count, std::size_t threads,
                                        const std::function<RecordFormatter()>& formatter,
                                        const std::function<void(std::size_t)>& written)
{
    if (threads <= 1)
        return writeOnThisThread(files, count, formatter(), written);
    std::vector<RecordFormatter> formats;
    for (std::size_t t = 0; t < threads; ++t)
        formats.push_back(formatter());
    std::vector<std::vector<std::uint64_t>> threadCounts(threads, std::vector<std::uint64_t>(files.size()));
    Round rounds[2];
    for (Round& round : rounds)
        round.chunks.assign(kChunksInARound, std::vector<std::string>(files.size()));
    const auto writeRound = [&files](const Round& round) {
        for (std::size_t c = 0; c < round.chunkCount(); ++c)
            for (std::size_t f = 0; f < files.size(); ++f)
                files[f]->write(round.chunks[c][f]);
    };
    const Round* formatted = nullptr;
    for (std::size_t from = 0, k = 0; from < count; from += kRound, ++k) {
        Round& round = rounds[k % 2];
        round.from = from;
        round.to = std::min(count, from + kRound);
        std::atomic<std::size_t> nextChunk = 0;
        // A round written while the next is formatted: the tidy copy of a
        // million records took 175 ms on two threads, 240 one after the other.
        runSideBySide(threads, [&](std::size_t t) {
            if (t == 0 && formatted != nullptr)
                writeRound(*formatted);
            for (std::size_t c; (c = nextChunk++) < round.chunkCount();) {
                std::vector<std::string>& texts = round.chunks[c];
                std::vector<std::string*> pointers;
                for (std::string& text : texts) {
                    text.clear();
                    pointers.push_back(&text);
                }
                for (std::size_t r = round.from + c * kChunk, end = std::min(round.to, r + kChunk); r < end; ++r)
                    ++threadCounts[t][formats[t](r, pointers)];
            }
        });
        if (formatted != nullptr)
            written(formatted->to);
        formatted = &round;
    }
    if (formatted != nullptr) {
        writeRound(*formatted);
        written(formatted->to);
    }
    std::vector<std::uint64_t> counts(files.size());
    for (const auto& counted : threadCounts)
        for (std::size_t f = 0; f < files.size(); ++f)
            counts[f] += counted[f];
    return counts;
}

}  // namespace logweave
