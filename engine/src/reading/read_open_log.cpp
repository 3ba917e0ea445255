#include "logweave/operations.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "reading/log_reader.h"
#include "reading/reading_from.h"
#include "progress_meter.h"
#include "reporting_stops.h"
#include "side_by_side.h"
#include "writing/field_order.h"
#include "writing/streamed_text.h"
#include "writing/write_record.h"
#include "writing/write_records.h"

#include <algorithm>
#include <vector>

namespace logweave {
namespace {

std::string adifCodes(const FieldTable& fields, bool upperCase)
{
    std::string out;
    for (int i = 1; i <= fields.count(); ++i)
        out.append(outputFieldName(fields, i, upperCase)).append(kCrLf);
    out += kCrLf;
    for (const std::string_view name : fields.sortedNames())
        out.append(name).append(kCrLf);
    return out;
}

// The first record, numbered from 1, whose date and time come before those
// of the record above it; 0 when none does. Looked for side by side, each
// record's values looked up once: on a million records, 60 ms on two
// threads where looking each up twice on one took 230.
long long firstOutOfOrder(const OpenedLog& opened, unsigned threads)
{
    const Log& log = opened.log;
    const int d = opened.standard.qsoDate;
    const int t = opened.standard.timeOn;
    const std::size_t pieces = std::min(piecesFor(log.text().size(), threads), std::max<std::size_t>(log.size(), 1));
    std::vector<long long> found(pieces, 0);
    runSideBySide(pieces, [&](std::size_t piece) {
        // Each piece starts at the record above its first, so the pieces meet.
        const std::size_t end = log.size() * (piece + 1) / pieces;
        std::size_t r = std::max<std::size_t>(log.size() * piece / pieces, 1) - 1;
        if (r >= end)
            return;
        std::string_view date = log[r].value(d);
        std::string_view time = log[r].value(t);
        for (++r; r < end; ++r) {
            const std::string_view nextDate = log[r].value(d);
            const std::string_view nextTime = log[r].value(t);
            if (nextDate < date || (nextDate == date && nextTime < time)) {
                found[piece] = static_cast<long long>(r) + 1;
                return;
            }
            date = nextDate;
            time = nextTime;
        }
    });
    const auto first = std::find_if(found.begin(), found.end(), [](long long r) { return r != 0; });
    return first == found.end() ? 0 : *first;
}

// The tidy copy and its field names, written but not yet in place.
std::unique_ptr<FileBatch> writeAdifFile(const Session& session, const OpenedLog& opened, const OutputForm& form)
{
    auto batch = session.files.writeFiles({session.programFolder / "Adif_File.adi",
                                           session.programFolder / "AdifCodes.txt"});
    StreamedText adif(batch->file(0));
    if (!opened.header.empty())
        writeHeaderLine(adif.text(), form, opened.header);
    ProgressMeter meter(session.ui, Phase::Writing, opened.log.size());
    const auto formatter = [&opened, &form]() -> RecordFormatter {
        return [&opened, &form, names = OutputNames(opened.fields, form.upperCaseNames)](
                   std::size_t r, std::span<std::string* const> texts) mutable {
            writeRecord(*texts[0], opened.log[r], names);
            writeRecordEnd(*texts[0], form);
            return std::size_t{0};
        };
    };
    StreamedText* const files[] = {&adif};
    writeRecords(files, opened.log.size(), piecesFor(opened.log.text().size(), session.threads), formatter,
                 [&meter](std::size_t written) { meter.advanceTo(written); });
    adif.finish();
    batch->file(1).write(adifCodes(opened.fields, form.upperCaseNames));
    stopIfCancelled(session.ui);
    return batch;
}

TextEnd readLog(LogStore& store, const Session& session, FileReader& reader, std::string_view path,
                const OutputForm& form, FieldTable fields, std::unique_ptr<FileBatch>* tidyCopy)
{
    LogFile file = readLogFile(session, reader, pane::fileRead(path), fields, form.endOfHeader);
    const TextEnd end = file.endsAfterARecord ? TextEnd::AfterARecord : TextEnd::InARecord;
    OpenedLog opened{std::move(file.log), std::move(fields), {}, file.header.value_or(""), std::string(path)};
    opened.standard = findStandardFields(opened.fields);
    auto written = writeAdifFile(session, opened, form);
    long long outOfOrder = 0;
    if (tidyCopy != nullptr) {
        *tidyCopy = std::move(written);
        outOfOrder = firstOutOfOrder(opened, session.threads);
    } else {
        // The order is checked while the tidy copy goes into place, which takes
        // the system longer: on a million records, 0.95 times the time of an open.
        runBoth(session.threads, [&](std::size_t task) {
            if (task == 0)
                written->commit();
            else
                outOfOrder = firstOutOfOrder(opened, 1);
        });
    }
    store.open(std::move(opened));
    if (outOfOrder != 0)
        session.ui.appendToPane(pane::outOfOrder(outOfOrder));
    session.ui.appendToPane(pane::recordsProcessed(store.openRecordCount()));
    return end;
}

}  // namespace

std::optional<TextEnd> readOpenLogFrom(LogStore& store, const Session& session, FileReader& file, std::string_view path,
                                       const OutputForm& form, FieldTable fields, std::unique_ptr<FileBatch>* tidyCopy)
{
    // Nothing of an earlier log leaks into this one. A cancelled reading puts
    // it back; one that stops leaves no log open.
    LogStore earlier = store.takeForCancel();
    store.close(fields);
    auto end = reportingStops(session.ui, path, [&] { return readLog(store, session, file, path, form, std::move(fields), tidyCopy); });
    if (!end && session.ui.cancelRequested())
        store = std::move(earlier);
    return end;
}

Outcome readOpenLog(LogStore& store, const Session& session, std::string_view path, const OutputOptions& options)
{
    std::optional<FieldTable> listed;
    if (!options.fieldOrderFile.empty())
        listed = loadFieldOrder(session, options.fieldOrderFile);
    FieldTable fields = listed ? std::move(*listed) : store.fields();
    auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    if (!opened) {
        store.close(std::move(fields));
        return Outcome::Stopped;
    }
    return readOpenLogFrom(store, session, **opened, path, OutputForm::of(options), std::move(fields))
        ? Outcome::Done
        : Outcome::Stopped;
}

}  // namespace logweave
