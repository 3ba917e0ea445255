#include "log_reader.h"

#include "logweave/sort_record_lines.h"
#include "logweave/text.h"
#include "record_scanner.h"
#include "tag.h"

#include <algorithm>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

// A text's records as they stand, and what their order rests on.
struct TextRecords {
    std::vector<SortKey> keys;
    std::size_t pinned = 0;  // the last records, which keep their place
    bool linesShowRecords = true;  // each record ends the line of its end tag
};

TextRecords readRecords(Log& log, RecordScanner& scanner)
{
    TextRecords records;
    // Room for records of 128 bytes and more, what logs hold: no copy as the log grows.
    const std::size_t guess = log.text().size() / 128 + 16;
    log.reserve(guess);
    records.keys.reserve(guess);
    ScannedRecord record;
    while (scanner.next(record)) {
        log.add(record.begin, record.length, record.values);
        records.keys.push_back(record.key);
        records.linesShowRecords = records.linesShowRecords && record.endsItsLine && records.pinned == 0;
        records.pinned += record.pinned ? 1 : 0;
    }
    records.linesShowRecords = records.linesShowRecords && !scanner.tangled();
    return records;
}

// A text of fewer than four lines is taken as it stands.
bool hasFourLines(std::string_view text)
{
    std::size_t breaks = 0;
    for (std::size_t nl = text.find('\n'); nl != npos && breaks < 3; nl = text.find('\n', nl + 1))
        ++breaks;
    return breaks == 3;
}

bool inOrder(const TextRecords& records)
{
    return std::is_sorted(records.keys.begin(), records.keys.end() - static_cast<std::ptrdiff_t>(records.pinned));
}

// The lines of records start after the first line that holds an end-of-header
// tag (or at the first tag). Sorting records as a whole is sorting those
// lines when the scan starts where they do.
enum class Region { Matches, Empty, Differs };

Region recordRegion(std::string_view text, std::size_t scanStart, const RecordScanner& scanner)
{
    std::size_t eohTag = npos;
    for (std::size_t lt = text.find('<'); lt < scanStart; lt = text.find('<', lt + 1)) {
        if (isTagAt(text, lt, "EOH")) {
            eohTag = lt;
            break;
        }
    }
    if (eohTag == npos)
        eohTag = scanner.firstEndOfHeaderTag();
    if (eohTag == npos)
        return Region::Matches;  // from the first tag's line, where the scan starts
    const std::size_t lineEnd = text.find('\n', eohTag);
    if (lineEnd == npos)
        return Region::Empty;
    const std::size_t regionStart = lineEnd + 1;
    const bool matches = scanStart <= regionStart && (scanner.firstTag() == npos || scanner.firstTag() >= regionStart);
    return matches ? Region::Matches : Region::Differs;
}

void putInOrder(Log& log, const TextRecords& records)
{
    std::vector<SortKey> sortable(records.keys.begin(), records.keys.end() - static_cast<std::ptrdiff_t>(records.pinned));
    std::vector<std::size_t> order = dateTimeOrder(sortable);
    for (std::size_t i = sortable.size(); i < records.keys.size(); ++i)
        order.push_back(i);
    log.reorder(order);
}

void showHeader(Session& session, const LogFile& file)
{
    if (file.header)
        session.ui.appendToPane(displayText(*file.header) + "\r\n\r\n");
}

LogFile scanLog(Session& session, Bytes bytes, bool sortIt)
{
    const std::size_t eoh = findEndOfHeader(bytes.view());
    const std::size_t scanStart = eoh == npos ? 0 : eoh + 1;
    LogFile file{Log(std::move(bytes)), std::nullopt};
    const std::string_view text = file.log.text();
    FieldNamer namer(session.store.fields);
    RecordScanner scanner(text, scanStart, namer);
    const TextRecords records = readRecords(file.log, scanner);
    if (sortIt && hasFourLines(text)) {
        const Region region = recordRegion(text, scanStart, scanner);
        if (!records.linesShowRecords || region == Region::Differs) {
            // Lines that do not show the records one by one: sorted as lines, then read.
            std::string sorted(text);
            SortRecordLines(sorted);
            file = {};
            return scanLog(session, Bytes(sorted), false);
        }
        if (region == Region::Matches && !inOrder(records))
            putInOrder(file.log, records);
    }
    namer.enterWaiting(file.log, scanner.unreadText(), session.store.fields);
    if (eoh != npos)
        file.header = withCrLf(text.substr(0, eoh)) + session.store.EohTag;
    showHeader(session, file);
    reportScanEnd(session.ui, scanner, file.log, session.store.fields);
    return file;
}

}  // namespace

LogFile readLogFile(Session& session, std::string_view path, std::string_view banner)
{
    Bytes bytes = session.files.readFile(pathFromBytes(path));
    collapseBlankLines(bytes);
    session.ui.appendToPane(banner);
    return scanLog(session, std::move(bytes), true);
}

Log readWrittenLog(Session& session, const std::filesystem::path& path)
{
    Log log(session.files.readFile(path));
    const std::size_t eoh = findEndOfHeader(log.text());
    FieldNamer namer(session.store.fields);
    RecordScanner scanner(log.text(), eoh == npos ? 0 : eoh + 1, namer);
    readRecords(log, scanner);
    namer.enterWaiting(log, scanner.unreadText(), session.store.fields);
    return log;
}

}  // namespace logweave
