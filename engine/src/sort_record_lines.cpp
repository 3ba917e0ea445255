#include "logweave/sort_record_lines.h"

#include "logweave/text.h"
#include "tag.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
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

// The breaks of a run numbered 0, 4, 8... stay: two passes of "every second
// pair of breaks goes" give that. Done in place: the text only shrinks.
std::size_t collapse(char* text, std::size_t size) noexcept
{
    const std::string_view in(text, size);
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t nl = in.find('\n', i);
        const std::size_t runStart =
            nl == npos ? size : (nl > i && in[nl - 1] == '\r') ? nl - 1 : nl;
        std::copy(text + i, text + runStart, text + out);
        out += runStart - i;
        if (nl == npos)
            break;
        std::size_t j = runStart;
        for (int k = 0; const std::size_t len = breakLengthAt(in, j); ++k) {
            if (k % 4 == 0) {
                std::copy(text + j, text + j + len, text + out);
                out += len;
            }
            j += len;
        }
        i = j;
    }
    return out;
}

bool hasBlankLine(std::string_view text) noexcept
{
    return text.find("\n\n") != npos || text.find("\n\r\n") != npos;
}

// Where each line starts, and after the last one the end of the text: line i
// runs from starts[i] up to starts[i + 1], its line break included.
std::vector<std::size_t> lineStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    starts.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 2);
    starts.push_back(0);
    for (std::size_t nl = text.find('\n'); nl != npos; nl = text.find('\n', nl + 1))
        starts.push_back(nl + 1);
    starts.push_back(text.size());
    return starts;
}

// Whether a line holds a tag of that name. Record lines end with their end
// tag, so the line's last tag is looked at first.
bool holdsTag(std::string_view line, std::string_view name)
{
    const std::size_t last = line.rfind('<');
    if (last == npos)
        return false;
    if (isTagAt(line, last, name))
        return true;
    for (std::size_t lt = line.find('<'); lt < last; lt = line.find('<', lt + 1)) {
        if (isTagAt(line, lt, name))
            return true;
    }
    return false;
}


// The values of the record's first QSO_DATE and TIME_ON tags, read as the
// reader reads values; a typed tag counts, a missing one gives an empty part.
SortKey keyOf(std::string_view text, std::size_t from, std::size_t to)
{
    SortKey key;
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

bool allDigits(std::string_view s) noexcept
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Where the date has eight digits and the time at most six, the text order of
// keys is the order of one number: the date, the time padded with zeros, and
// the time's length (so that 1234 comes before 123400, as in text).
std::optional<std::uint64_t> packed(const SortKey& key) noexcept
{
    if (key.date.size() != 8 || key.time.size() > 6 || !allDigits(key.date) || !allDigits(key.time))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : key.date)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = 0; i < 6; ++i)
        value = value * 10 + (i < key.time.size() ? static_cast<std::uint64_t>(key.time[i] - '0') : 0);
    return value * 8 + key.time.size();
}

}  // namespace

std::vector<std::size_t> dateTimeOrder(const std::vector<SortKey>& keys)
{
    std::vector<std::pair<std::uint64_t, std::size_t>> numbers;
    numbers.reserve(keys.size());
    for (const SortKey& key : keys) {
        const auto number = packed(key);
        if (!number)
            return dateTimeOrderByText(keys);
        numbers.emplace_back(*number, numbers.size());
    }
    std::sort(numbers.begin(), numbers.end());  // the index breaks ties: stable
    std::vector<std::size_t> order;
    order.reserve(keys.size());
    for (const auto& n : numbers)
        order.push_back(n.second);
    return order;
}

std::vector<std::size_t> dateTimeOrderByText(const std::vector<SortKey>& keys)
{
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

void collapseBlankLines(Bytes& text)
{
    if (hasBlankLine(text.view()))
        text.shrink(collapse(text.data(), text.size()));
}

void SortRecordLines(std::string& text)
{
    if (hasBlankLine(text))
        text.resize(collapse(text.data(), text.size()));
    const std::string_view view(text);
    const std::vector<std::size_t> starts = lineStarts(view);
    const std::size_t lineCount = starts.size() - 1;
    const std::size_t last = lineCount - 1;
    if (last < 3)
        return;
    const auto line = [&](std::size_t i) { return view.substr(starts[i], starts[i + 1] - starts[i]); };

    // The record region: after the header's end, or from the first tag.
    std::size_t f = 0;
    while (f < lineCount && !holdsTag(line(f), "EOH"))
        ++f;
    if (f < lineCount) {
        ++f;
    } else {
        f = 0;
        while (f < lineCount && line(f).find('<') == npos)
            ++f;
    }

    struct Span {
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Span> records;
    std::vector<SortKey> keys;
    records.reserve(lineCount);
    keys.reserve(lineCount);
    std::size_t recordStart = f;
    for (std::size_t i = f; i < last; ++i) {
        if (!holdsTag(line(i), "EOR"))
            continue;
        const std::size_t begin = starts[recordStart];
        const std::size_t end = starts[i + 1];
        records.push_back({begin, end});
        keys.push_back(keyOf(view, begin, end));
        recordStart = i + 1;
    }
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    const std::vector<std::size_t> order = dateTimeOrder(keys);

    std::string sorted;
    sorted.reserve(text.size());
    sorted.append(view.substr(0, records.front().begin));
    for (const std::size_t r : order)
        sorted.append(view.substr(records[r].begin, records[r].end - records[r].begin));
    sorted.append(view.substr(records.back().end));
    text = std::move(sorted);
}

}  // namespace logweave
