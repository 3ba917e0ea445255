#include "logweave/sort_record_lines.h"

#include "logweave/text.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

std::size_t breakLengthAt(std::string_view text, std::size_t i) noexcept
{
    if (i < text.size() && text[i] == '\n')
        return 1;
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
        return 2;
    return 0;
}

// Two passes that each halve a run of line breaks, keeping the first of every
// pair: of a run, the breaks numbered 0, 4, 8... stay.
void collapseBlankLines(std::string& text)
{
    if (text.find("\n\n") == npos && text.find("\n\r\n") == npos)
        return;
    const std::string_view in(text);
    std::string out;
    out.reserve(in.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t nl = in.find('\n', i);
        if (nl == npos) {
            out.append(in.substr(i));
            break;
        }
        const std::size_t runStart = (nl > i && in[nl - 1] == '\r') ? nl - 1 : nl;
        out.append(in.substr(i, runStart - i));
        std::size_t j = runStart;
        for (int k = 0; const std::size_t len = breakLengthAt(in, j); ++k) {
            if (k % 4 == 0)
                out.append(in.substr(j, len));
            j += len;
        }
        i = j;
    }
    text = std::move(out);
}

// A tag named `name` at position `lt` (the "<"), followed by ">" or ":".
bool isTagAt(std::string_view text, std::size_t lt, std::string_view name) noexcept
{
    const std::size_t after = lt + 1 + name.size();
    return after < text.size() && equalsIgnoringCase(text.substr(lt + 1, name.size()), name)
        && (text[after] == '>' || text[after] == ':');
}

struct Line {
    std::size_t start;
    bool hasTag;
    bool hasEoh;
    bool hasEor;
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t end = nl == npos ? text.size() : nl;
        Line line{start, false, false, false};
        for (std::size_t lt = text.find('<', start); lt < end; lt = text.find('<', lt + 1)) {
            line.hasTag = true;
            line.hasEoh = line.hasEoh || isTagAt(text, lt, "EOH");
            line.hasEor = line.hasEor || isTagAt(text, lt, "EOR");
        }
        lines.push_back(line);
        if (nl == npos)
            return lines;
        start = nl + 1;
    }
}

struct Key {
    std::string_view date;
    std::string_view time;
    bool operator<(const Key& other) const noexcept
    {
        return date != other.date ? date < other.date : time < other.time;
    }
};

// The values of the record's first QSO_DATE and TIME_ON tags, read as the
// reader reads values; a typed tag counts, a missing one gives an empty part.
Key keyOf(std::string_view text, std::size_t from, std::size_t to)
{
    Key key;
    bool haveDate = false;
    bool haveTime = false;
    for (std::size_t lt = text.find('<', from); lt < to && !(haveDate && haveTime);
         lt = text.find('<', lt + 1)) {
        const bool date = !haveDate && isTagAt(text, lt, "QSO_DATE");
        const bool time = !haveTime && isTagAt(text, lt, "TIME_ON");
        if (!date && !time)
            continue;
        const std::size_t gt = text.find('>', lt);
        if (gt == npos)
            break;
        const std::size_t next = text.find('<', gt + 1);
        const auto value = trimValueEnd(text.substr(gt + 1, (next == npos ? text.size() : next) - gt - 1));
        (date ? key.date : key.time) = value;
        (date ? haveDate : haveTime) = true;
    }
    return key;
}

}  // namespace

void SortRecordLines(std::string& text)
{
    collapseBlankLines(text);
    const std::string_view view(text);
    const std::vector<Line> lines = splitLines(view);
    const std::size_t last = lines.size() - 1;
    if (last < 3)
        return;

    // The record region: after the header's end, or from the first tag.
    auto first = std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.hasEoh; });
    if (first != lines.end())
        ++first;
    else
        first = std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.hasTag; });
    const auto f = static_cast<std::size_t>(first - lines.begin());

    struct Span {
        std::size_t begin;
        std::size_t end;
        Key key;
    };
    std::vector<Span> records;
    std::size_t recordStart = f;
    for (std::size_t i = f; i < last; ++i) {
        if (!lines[i].hasEor)
            continue;
        const std::size_t begin = lines[recordStart].start;
        const std::size_t end = lines[i + 1].start;
        records.push_back({begin, end, keyOf(view, begin, end)});
        recordStart = i + 1;
    }
    const auto byKey = [](const Span& a, const Span& b) { return a.key < b.key; };
    if (std::is_sorted(records.begin(), records.end(), byKey))
        return;

    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return records[a].key < records[b].key; });

    std::string sorted;
    sorted.reserve(text.size());
    sorted.append(view.substr(0, records.front().begin));
    for (const std::size_t r : order)
        sorted.append(view.substr(records[r].begin, records[r].end - records[r].begin));
    sorted.append(view.substr(records.back().end));
    text = std::move(sorted);
}

}  // namespace logweave
