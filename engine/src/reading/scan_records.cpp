#include "reading/scan_records.h"

#include "reading/record_lines.h"
#include "reading/tag.h"
#include "side_by_side.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <vector>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

// Where each piece after the first is to start: after the first end tag from
// its share of the text on. A tag holding a "<" can make that no record's
// start; the scan of the piece before tells, as it must end exactly there.
std::vector<std::size_t> pieceStarts(std::string_view text, std::size_t from, std::size_t pieces)
{
    std::vector<std::size_t> starts{text.find('<', std::min(from, text.size()))};
    if (starts.front() == npos)
        return starts;
    const std::size_t share = (text.size() - starts.front()) / pieces;
    for (std::size_t i = 1; i < pieces; ++i) {
        std::size_t start = npos;
        for (std::size_t lt = text.find('<', std::max(starts.back() + 1, starts.front() + i * share)); lt != npos;) {
            const Tag tag = readTag(text, lt);
            if (tag.gt == npos)
                break;
            lt = text.find('<', tag.gt + 1);
            if (endsARecord(tag)) {
                start = lt;
                break;
            }
        }
        if (start == npos)
            break;
        starts.push_back(start);
    }
    return starts;
}

struct Piece {
    std::size_t start = 0;
    std::size_t until = npos;  // where the next piece starts
    FieldTable fields;
    LogRecords records;
    ScanSummary summary;
    bool endsWhereNextStarts = false;
    std::exception_ptr failure;
};

template <typename Keep>
void scanPiece(std::string_view text, Piece& piece, FieldTable& fields, Keep keep)
{
    FieldNamer namer(fields, text);
    RecordScanner scanner(text, piece.start, namer, piece.until);
    ScannedRecord record;
    while (scanner.next(record))
        keep(record);
    piece.summary = scanner.summary();
    piece.endsWhereNextStarts = scanner.at() == piece.until;
}

ScanSummary scanInOnePiece(Log& log, FieldTable& fields, std::size_t from,
                           const std::function<void(std::size_t)>& scanned)
{
    Piece whole;
    whole.start = from;
    scanPiece(log.text(), whole, fields, [&](const ScannedRecord& record) {
        log.add(record.begin, record.length, record.values);
        scanned(record.begin);
    });
    return whole.summary;
}

// `fields` with the names of the records that start in the first `bytes`
// from `from`, entered as a reading from there enters them: the first names
// of any reading of the whole.
FieldTable namesOfTheFirstRecords(std::string_view text, std::size_t from, std::size_t bytes, FieldTable fields)
{
    Piece first;
    first.start = from;
    first.until = bytes >= text.size() ? npos : from + bytes;
    scanPiece(text, first, fields, [](const ScannedRecord&) {});
    return fields;
}

// Field f of a piece's table is field number[f] of `fields`, entered there
// when new: in the order the piece met them, after those met before it, and
// spelt as the piece entered them (its sorted listing keeps a type's letter
// as the log wrote it).
std::vector<std::uint32_t> fieldNumbers(const FieldTable& piece, int before, FieldTable& fields)
{
    std::vector<std::string_view> entered(static_cast<std::size_t>(piece.count()) + 1);
    for (const std::string_view name : piece.sortedNames())
        if (const int f = piece.indexOf(name); f > before)
            entered[static_cast<std::size_t>(f)] = name;
    std::vector<std::uint32_t> number(entered.size());
    for (int f = 0; f <= piece.count(); ++f)
        number[static_cast<std::size_t>(f)] =
            static_cast<std::uint32_t>(f <= before ? f : fields.findOrAdd(entered[static_cast<std::size_t>(f)]));
    return number;
}

bool unchanged(const std::vector<std::uint32_t>& number)
{
    for (std::size_t f = 0; f < number.size(); ++f)
        if (number[f] != f)
            return false;
    return true;
}

}  // namespace

ScanSummary scanRecords(Log& log, FieldTable& fields, std::size_t from, std::size_t pieces, unsigned threads,
                        const std::function<void(std::size_t)>& scanned, std::size_t firstNames)
{
    const std::string_view text = log.text();
    const std::vector<std::size_t> starts = pieceStarts(text, from, std::max<std::size_t>(pieces, 1));
    if (starts.size() == 1)
        return scanInOnePiece(log, fields, from, scanned);
    const FieldTable before = fields;
    // Every piece starts from the names of the log's first records, read
    // here first: a piece that meets no other name needs no renumbering
    // after, which took 21-25 ms of an open of a million records. Without
    // it the open took 0.96 of the user time, the same wall time (21 paired
    // runs).
    fields = namesOfTheFirstRecords(text, from, firstNames, before);
    const FieldTable start = fields;
    std::vector<Piece> piece(starts.size());
    for (std::size_t i = 0; i < piece.size(); ++i) {
        piece[i].start = starts[i];
        piece[i].until = i + 1 < starts.size() ? starts[i + 1] : npos;
        if (i != 0) {
            piece[i].fields = start;
            piece[i].records.reserve(roomForRecords(std::min(piece[i].until, text.size()) - starts[i]));
        }
    }
    // The threads take the pieces in turn, so one slowed by the system holds
    // up the others less: of two pieces on two threads, one often ended 100
    // ms before the other. An open of a million records took 0.97 of the
    // wall time (15 paired runs).
    const std::size_t workers = std::clamp<std::size_t>(threads, 1, piece.size());
    std::atomic<std::size_t> nextPiece = 0;
    std::atomic<std::size_t> bytesDone = 0;
    std::atomic<bool> stopped = false;
    const auto scanOne = [&](std::size_t i) {
        if (i == 0) {
            // The first piece goes into the log; a failure there is the log's.
            return scanPiece(text, piece[0], fields, [&](const ScannedRecord& record) {
                log.add(record.begin, record.length, record.values);
            });
        }
        try {
            scanPiece(text, piece[i], piece[i].fields, [&](const ScannedRecord& record) {
                piece[i].records.add(text.substr(record.begin, record.length), record.values);
            });
        } catch (...) {
            piece[i].failure = std::current_exception();  // only if it stands where the pieces join
        }
    };
    runSideBySide(workers, [&](std::size_t worker) {
        try {
            for (std::size_t i; !stopped && (i = nextPiece++) < piece.size();) {
                scanOne(i);
                const std::size_t end = std::min(piece[i].until, text.size());
                const std::size_t done = bytesDone += end - piece[i].start;
                if (worker == 0)  // this thread: the one that may tell the progress
                    scanned(from + done);
            }
        } catch (...) {
            stopped = true;
            throw;
        }
    });
    for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
        if (!piece[i].endsWhereNextStarts) {
            // A tag holding "<" hid where a piece starts: the text is read again, whole.
            fields = before;
            log.clearRecords();
            return scanInOnePiece(log, fields, from, scanned);
        }
    }
    ScanSummary summary = piece[0].summary;
    std::vector<std::vector<std::uint32_t>> numbers(piece.size());
    for (std::size_t i = 1; i < piece.size(); ++i) {
        if (piece[i].failure)
            std::rethrow_exception(piece[i].failure);
        numbers[i] = fieldNumbers(piece[i].fields, start.count(), fields);
        summary += piece[i].summary;
    }
    nextPiece = 1;
    runSideBySide(workers, [&](std::size_t) {
        for (std::size_t i; (i = nextPiece++) < piece.size();)
            if (!unchanged(numbers[i]))
                piece[i].records.renumberFields(numbers[i]);
    });
    for (std::size_t i = 1; i < piece.size(); ++i)
        log.append(std::move(piece[i].records));
    return summary;
}

}  // namespace logweave
