#include "reading/record_lines.h"

#include "logweave/text.h"
#include "reading/tag.h"

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

}  // namespace

bool RecordLines::inOrder() const
{
    return std::is_sorted(keys.begin(), keys.end());
}

std::optional<RecordLines> recordLines(std::string_view text)
{
    if (!hasFourLines(text))
        return std::nullopt;
    RecordLines lines;
    lines.regionStart = regionStartOf(text);
    std::size_t recordStart = lines.regionStart;
    // The text after the last line break is the last line, which never moves.
    for (std::size_t start = lines.regionStart, nl; (nl = text.find('\n', start)) != npos; start = nl + 1) {
        if (!holdsTag(text.substr(start, nl + 1 - start), "EOR"))
            continue;
        lines.ends.push_back(nl + 1);
        lines.keys.push_back(keyOf(text, recordStart, nl + 1));
        recordStart = nl + 1;
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
