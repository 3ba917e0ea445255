#include "reading/record_lines.h"

#include "logweave/text.h"
#include "reading/tag.h"
#include "side_by_side.h"

#include <algorithm>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

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
    for (std::size_t lt = text.find('<', from); lt < to && !(haveDate && haveTime); lt = text.find('<', lt + 1)) {
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

bool hasFourLines(std::string_view text)
{
    std::size_t breaks = 0;
    for (std::size_t nl = text.find('\n'); nl != npos && breaks < 3; nl = text.find('\n', nl + 1))
        ++breaks;
    return breaks == 3;
}

// After the first line that holds an end-of-header tag; else the first line that holds a tag.
std::size_t regionStartOf(std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t next = nl == npos ? text.size() : nl + 1;
        if (holdsTag(text.substr(start, next - start), "EOH"))
            return next;
        start = next;
    }
    const std::size_t firstTag = text.find('<');
    if (firstTag == npos)
        return text.size();
    const std::size_t lineStart = text.rfind('\n', firstTag);
    return lineStart == npos ? 0 : lineStart + 1;
}

// Appends the records of the lines from `from`, where a record starts, up to
// `to`, where a line starts.
void addRecordLines(std::string_view text, std::size_t from, std::size_t to, RecordLines& lines)
{
    const std::size_t expected = roomForRecords(std::min(to, text.size()) - from);
    lines.ends.reserve(expected);
    lines.keys.reserve(expected);
    std::size_t recordStart = from;
    // The text after the last line break is the last line, which never moves.
    for (std::size_t start = from, nl; (nl = text.find('\n', start)) != npos && nl < to; start = nl + 1) {
        if (!holdsTag(text.substr(start, nl + 1 - start), "EOR"))
            continue;
        lines.ends.push_back(nl + 1);
        lines.keys.push_back(keyOf(text, recordStart, nl + 1));
        recordStart = nl + 1;
    }
}

// Where each piece starts: after the first line that holds an end tag from
// its share of the text on. Whether a line holds one depends on that line
// alone, so a piece's records are those a reading of the whole finds there.
std::vector<std::size_t> pieceStarts(std::string_view text, std::size_t from, std::size_t pieces)
{
    std::vector<std::size_t> starts{from};
    const std::size_t share = (text.size() - from) / pieces;
    for (std::size_t i = 1; i < pieces; ++i) {
        const std::size_t nl = text.find('\n', std::max(starts.back(), from + i * share));
        std::size_t start = nl == npos ? npos : nl + 1;
        for (std::size_t end; start != npos; start = end == npos ? npos : end + 1) {
            end = text.find('\n', start);
            if (end != npos && holdsTag(text.substr(start, end + 1 - start), "EOR")) {
                start = end + 1;
                break;
            }
        }
        if (start == npos || start >= text.size())
            break;
        starts.push_back(start);
    }
    return starts;
}

}  // namespace

bool RecordLines::inOrder() const
{
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (i + kKeysAhead < keys.size())
            prefetchKey(keys[i + kKeysAhead]);
        if (keys[i] < keys[i - 1])
            return false;
    }
    return true;
}

std::optional<RecordLines> recordLines(std::string_view text, std::size_t pieces)
{
    if (!hasFourLines(text))
        return std::nullopt;
    RecordLines lines;
    lines.regionStart = regionStartOf(text);
    const std::vector<std::size_t> starts = pieceStarts(text, lines.regionStart, std::max<std::size_t>(pieces, 1));
    const auto pieceEnd = [&](std::size_t i) { return i + 1 < starts.size() ? starts[i + 1] : text.size(); };
    std::vector<RecordLines> later(starts.size() - 1);
    runSideBySide(starts.size(), [&](std::size_t i) {
        addRecordLines(text, starts[i], pieceEnd(i), i == 0 ? lines : later[i - 1]);
    });
    for (const RecordLines& piece : later) {
        lines.ends.insert(lines.ends.end(), piece.ends.begin(), piece.ends.end());
        lines.keys.insert(lines.keys.end(), piece.keys.begin(), piece.keys.end());
    }
    return lines;
}

std::string orderedText(std::string_view text, const RecordLines& lines)
{
    std::string out;
    out.reserve(text.size());
    out.append(text.substr(0, lines.regionStart));
    for (const std::size_t i : dateTimeOrder(lines.keys))
        out.append(text.substr(lines.begin(i), lines.ends[i] - lines.begin(i)));
    out.append(text.substr(lines.regionEnd()));
    return out;
}

}  // namespace logweave
