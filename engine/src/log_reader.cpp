#include "log_reader.h"

#include "logweave/sort_record_lines.h"
#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "record_lines.h"
#include "record_scanner.h"

#include <algorithm>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

// The first of the three spellings that end a header, whichever it is: the
// scan then tells whether a spelling preferred to it stands further on.
std::size_t firstEndOfHeader(std::string_view text)
{
    for (std::size_t lt = text.find('<'); lt != npos; lt = text.find('<', lt + 1))
        if (endOfHeaderSpelling(text, lt) != 3)
            return lt;
    return npos;
}

std::size_t scanStartOf(std::size_t eoh)
{
    return eoh == npos ? 0 : eoh + 1;
}

struct Piece {
    std::size_t from;
    std::size_t to;
};

// The text as it reads in order of date and time: the header, the records
// in that order, the lines after them. None when that order cannot be read
// piece by piece, because the scan starts past the first record's lines.
std::optional<std::vector<Piece>> piecesInOrder(std::string_view text, std::size_t scanStart)
{
    const auto lines = recordLines(text);
    if (!lines || lines->inOrder())
        return std::vector<Piece>{{scanStart, text.size()}};
    if (scanStart > lines->regionStart)
        return std::nullopt;
    std::vector<Piece> pieces;
    pieces.reserve(lines->ends.size() + 2);
    pieces.push_back({scanStart, lines->regionStart});
    for (const std::size_t i : dateTimeOrder(lines->keys))
        pieces.push_back({lines->begin(i), lines->ends[i]});
    pieces.push_back({lines->regionEnd(), text.size()});
    return pieces;
}

void readPieces(RecordScanner& scanner, Log& log, const std::vector<Piece>& pieces)
{
    // Room for records of 128 bytes and more, what logs hold: no copy as the log grows.
    log.reserve(log.text().size() / 128 + 16);
    ScannedRecord record;
    for (const Piece& piece : pieces) {
        if (scanner.brokeAPiece())
            return;
        scanner.startPiece(piece.from, piece.to, &piece == &pieces.back());
        while (scanner.next(record))
            log.add(record.begin, record.length, record.values);
    }
}

// Whether the header ends where it was taken to: no spelling preferred to
// that one stands anywhere, not even inside a tag.
bool headerSure(const RecordScanner& scanner, std::string_view text, std::size_t eoh)
{
    const int taken = eoh == npos ? 3 : endOfHeaderSpelling(text, eoh);
    return taken == 0 || (!scanner.tangled() && scanner.endOfHeaderMet() >= taken);
}

LogFile finish(Session& session, Log log, const RecordScanner& scanner, std::size_t eoh)
{
    LogFile file{std::move(log), std::nullopt};
    if (eoh != npos) {
        file.header = withCrLf(file.log.text().substr(0, eoh)) + session.store.EohTag;
        session.ui.appendToPane(pane::header(*file.header));
    }
    reportScanEnd(session.ui, scanner, file.log, session.store.fields);
    return file;
}

// The text sorted as lines, then read from end to end: what the pieces stand for.
LogFile readSortedAsLines(Session& session, std::string_view text)
{
    std::string sorted(text);
    if (const auto lines = recordLines(sorted); lines && !lines->inOrder())
        sorted = orderedText(sorted, *lines);
    Log log{Bytes(sorted)};
    sorted = {};
    const std::size_t eoh = findEndOfHeader(log.text());
    FieldNamer namer(session.store.fields);
    RecordScanner scanner(log.text(), namer);
    readPieces(scanner, log, {{scanStartOf(eoh), log.text().size()}});
    return finish(session, std::move(log), scanner, eoh);
}

}  // namespace

LogFile readLogFile(Session& session, std::string_view path, std::string_view banner)
{
    Bytes bytes = session.files.readFile(pathFromBytes(path));
    collapseBlankLines(bytes);
    Log log(std::move(bytes));
    session.ui.appendToPane(banner);
    const std::size_t eoh = firstEndOfHeader(log.text());
    if (const auto pieces = piecesInOrder(log.text(), scanStartOf(eoh))) {
        const FieldTable tableBefore = session.store.fields;
        FieldNamer namer(session.store.fields);
        RecordScanner scanner(log.text(), namer);
        readPieces(scanner, log, *pieces);
        if (!scanner.brokeAPiece() && headerSure(scanner, log.text(), eoh))
            return finish(session, std::move(log), scanner, eoh);
        session.store.fields = tableBefore;
        log.clearRecords();
    }
    return readSortedAsLines(session, log.text());
}

Log readWrittenLog(Session& session, const std::filesystem::path& path)
{
    Log log(session.files.readFile(path));
    const auto readFrom = [&](std::size_t eoh) {
        FieldNamer namer(session.store.fields);
        RecordScanner scanner(log.text(), namer);
        readPieces(scanner, log, {{scanStartOf(eoh), log.text().size()}});
        return headerSure(scanner, log.text(), eoh);
    };
    if (!readFrom(firstEndOfHeader(log.text()))) {
        log.clearRecords();
        readFrom(findEndOfHeader(log.text()));
    }
    return log;
}

}  // namespace logweave
