#include "writing/write_records.h"

#include "side_by_side.h"

#include <algorithm>

namespace logweave {
namespace {

// Rounds of records, each cut among the threads, which format their part
// into texts of their own; the texts are then written in turn. A round of a
// few MiB keeps the texts small and the threads' starts rare.
constexpr std::size_t kRound = 16384;

struct Part {
    RecordFormatter format;
    std::vector<std::string> texts;
    std::vector<std::string*> pointers;
    std::vector<std::uint64_t> counts;
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
    std::vector<Part> parts(threads);
    for (Part& part : parts) {
        part = {formatter(), std::vector<std::string>(files.size()), {}, std::vector<std::uint64_t>(files.size())};
        for (std::string& text : part.texts)
            part.pointers.push_back(&text);
    }
    for (std::size_t from = 0; from < count; from += kRound) {
        const std::size_t to = std::min(count, from + kRound);
        const std::size_t share = (to - from + parts.size() - 1) / parts.size();
        runSideBySide(parts.size(), [&](std::size_t t) {
            Part& part = parts[t];
            for (std::string& text : part.texts)
                text.clear();
            for (std::size_t r = from + t * share, end = std::min(to, r + share); r < end; ++r)
                ++part.counts[part.format(r, part.pointers)];
        });
        for (const Part& part : parts)
            for (std::size_t f = 0; f < files.size(); ++f)
                files[f]->write(part.texts[f]);
        written(to);
    }
    std::vector<std::uint64_t> counts(files.size());
    for (const Part& part : parts)
        for (std::size_t f = 0; f < files.size(); ++f)
            counts[f] += part.counts[f];
    return counts;
}

}  // namespace logweave
