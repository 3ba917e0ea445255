#include "reading/log_reader.h"

#include "logweave/pane_texts.h"
#include "logweave/sort_record_lines.h"
#include "logweave/text.h"
#include "progress_meter.h"
#include "side_by_side.h"
#include "uncancellable.h"
#include "reading/ordered_reading.h"
#include "reading/record_lines.h"
#include "reading/record_scanner.h"
#include "reading/scan_records.h"

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

// The first of the three spellings that end a header, whichever it is: the
// scan then tells whether a spelling preferred to it stands further on.
std::size_t firstEndOfHeader(std::string_view text)
{
    for (std::size_t lt = text.find('<'); lt != npos; lt = text.find('<', lt + 1))
        if (endOfHeaderSpelling(text, lt) != TagSpelling::None)
            return lt;
    return npos;
}

// Whether the header ends where it was taken to: no spelling preferred to
// that one stands anywhere after it, not even inside a tag.
bool headerSure(const ScanSummary& scan, std::string_view text, std::size_t eoh)
{
    const TagSpelling taken = eoh == npos ? TagSpelling::None : endOfHeaderSpelling(text, eoh);
    return taken == TagSpelling::Upper || (!scan.tangled && scan.endOfHeaderMet >= taken);
}

// The end tags of the text: those the scan read, and those of the header it
// skipped. A tag holding a "<" may hide one: the whole text is searched then.
EndTagCounts endTagsIn(std::string_view text, std::size_t eoh, const ScanSummary& scan)
{
    if (scan.tangled)
        return countEndTags(text);
    EndTagCounts counts = countEndTags(text.substr(0, eoh == npos ? 0 : eoh + 1));
    for (std::size_t i = 0; i < counts.size(); ++i)
        counts[i] += scan.endTags[i];
    return counts;
}

bool endsAfterARecord(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const std::size_t lt = text.rfind('<');
    if (lt == npos)
        return text.find_first_not_of(blanks) == npos;
    const std::string_view last = text.substr(lt);
    return last.size() >= 5 && equalsIgnoringCase(last.substr(0, 5), "<eor>")
        && last.find_first_not_of(blanks, 5) == npos;
}

struct Ending {
    std::size_t eoh;
    ScanEnd end;
    EndTagCounts endTags;
};

// Reads the records of `log`'s text, after its header, sharing the work among
// `threads`; their names enter `fields`. `reading` counts half of `before`,
// the bytes read into memory, and of those scanned.
Ending readRecords(ProgressMeter& reading, std::uint64_t before, Log& log, FieldTable& fields, unsigned threads)
{
    // More pieces than threads, for the threads to share out as they go.
    constexpr unsigned kPiecesAThread = 4;
    const std::size_t pieces = threads > 1 ? piecesFor(log.text().size(), threads * kPiecesAThread) : 1;
    ScanSummary scan;
    const auto readFrom = [&](std::size_t eoh) {
        log.reserve(roomForRecords(log.text().size()));
        scan = scanRecords(log, fields, eoh == npos ? 0 : eoh + 1, pieces, threads,
                           [&](std::size_t scanned) { reading.advanceTo((before + scanned) / 2); });
        return headerSure(scan, log.text(), eoh);
    };
    const FieldTable tableBefore = fields;
    const std::size_t first = firstEndOfHeader(log.text());
    const bool sure = readFrom(first);
    const std::size_t eoh = sure ? first : findEndOfHeader(log.text());
    if (eoh != first) {
        fields = tableBefore;
        log.clearRecords();
        readFrom(eoh);
    }  // else a second scan from the same place would read the same
    return {eoh, scan.end, endTagsIn(log.text(), eoh, scan)};
}

// The text of the file, collapsed, its records in order of date and time.
Bytes orderedText(const Session& session, FileReader& file, ProgressMeter& reading)
{
    const FileReader::Stamp stamp = file.stamp();
    Bytes text = readAll(file, stamp.size, session.threads, [&reading](std::size_t read) { reading.advanceTo(read / 2); });
    const std::size_t pieces = piecesFor(text.size(), session.threads);
    collapseBlankLines(text, pieces);
    auto lines = recordLines(text.view(), pieces);
    if (!lines || lines->inOrder())
        return text;
    ProgressMeter sorting(session.ui, Phase::Sorting, text.size());
    const BigVector<std::size_t> order = dateTimeOrder(lines->keys, pieces);
    stopIfCancelled(session.ui);
    lines->keys = {};  // they are pieces of the text, which is written over
    const auto placed = [&sorting](std::size_t bytes) { sorting.advanceTo(bytes); };
    if (readInOrder(file, text, *lines, order, session.threads, placed) && file.stamp() == stamp)
        return text;
    // The file changed meanwhile: what it holds now, ordered in memory.
    text = Bytes();  // its memory is free for the second reading
    file.rewind();
    std::string sorted(readAll(file, file.stamp().size).view());
    sortRecordLines(sorted);
    return Bytes(sorted);
}

}  // namespace

LogFile readLogFile(const Session& session, FileReader& reader, std::string_view banner, FieldTable& fields,
                    std::string_view endOfHeader)
{
    // One bar for the file read into memory, then for its records read
    // there: each fills half of it.
    const std::uint64_t size = reader.stamp().size;
    ProgressMeter reading(session.ui, Phase::Reading, size);
    LogFile file{Log(orderedText(session, reader, reading)), std::nullopt};
    session.ui.appendToPane(banner);
    const Ending ending = readRecords(reading, size, file.log, fields, session.threads);
    if (ending.eoh != npos) {
        file.header = withCrLf(file.log.text().substr(0, ending.eoh)) + std::string(endOfHeader);
        session.ui.appendToPane(pane::header(*file.header));
    }
    reportScanEnd(session.ui, ending.end, file.log, fields);
    file.endTags = ending.endTags;
    file.endsAfterARecord = endsAfterARecord(file.log.text());
    return file;
}

Log readWrittenLog(const Session& session, const std::filesystem::path& path, FieldTable& fields)
{
    Log log(session.files.readFile(path, session.threads));
    Uncancellable ui(session.ui);
    ProgressMeter reading(ui, Phase::Reading, log.text().size());
    readRecords(reading, log.text().size(), log, fields, session.threads);
    return log;
}

}  // namespace logweave
