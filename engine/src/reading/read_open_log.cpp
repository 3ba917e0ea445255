#include "logweave/read_open_log.h"

#include "reading/log_reader.h"
#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "logweave/write_record.h"
#include "reading/reading_from.h"
#include "reporting_stops.h"
#include "writing/streamed_text.h"

namespace logweave {
namespace {

std::string adifCodes(const FieldTable& fields, bool upperCase)
{
    std::string out;
    for (int i = 1; i <= fields.count(); ++i)
        out.append(outputFieldName(fields, i, upperCase)).append(kCrLf);
    out += kCrLf;
    for (int i = 1; i <= fields.count(); ++i)
        out.append(fields.sortedName(i)).append(kCrLf);
    return out;
}

// The first record whose date and time come before those of the record above it.
long long firstOutOfOrder(const LogStore& store)
{
    const int d = store.standard.qsoDate;
    const int t = store.standard.timeOn;
    for (long long r = 2; r <= store.openRecordCount(); ++r) {
        const auto date = store.fieldValue(d, r);
        const auto before = store.fieldValue(d, r - 1);
        if (date < before || (date == before && store.fieldValue(t, r) < store.fieldValue(t, r - 1)))
            return r;
    }
    return 0;
}

void forgetOpenLog(LogStore& store)
{
    store.replaceLog({});
    store.OpenHeader.clear();
    store.standard = {};
}

void writeAdifFile(Session& session, const Log& log, bool upperCase)
{
    LogStore& store = session.store;
    const auto batch = session.files.writeFiles({store.programFolder / "Adif_File.adi",
                                                 store.programFolder / "AdifCodes.txt"});
    StreamedText adif(batch->file(0));
    if (!store.OpenHeader.empty())
        writeHeaderLine(adif.text(), store, store.OpenHeader);
    OutputNames names(store.fields, upperCase);
    for (const Record& record : log) {
        writeRecord(adif.text(), record, names);
        writeRecordEnd(adif.text(), store);
        adif.recordDone();
    }
    adif.finish();
    batch->file(1).write(adifCodes(store.fields, upperCase));
    batch->commit();
}

TextEnd readLog(Session& session, FileReader& reader, std::string_view path)
{
    LogStore& store = session.store;
    // Nothing of an earlier log leaks into this one, and its memory is free for it.
    forgetOpenLog(store);
    LogFile file = readLogFile(session, reader, pane::fileRead(path));
    const TextEnd end = file.endsAfterARecord ? TextEnd::AfterARecord : TextEnd::InARecord;
    if (file.header)
        store.OpenHeader = std::move(*file.header);
    writeAdifFile(session, file.log, session.ui.outputOptions().upperCaseNames);
    store.replaceLog(std::move(file.log));
    store.standard = findStandardFields(store.fields);
    if (const long long r = firstOutOfOrder(store); r != 0)
        session.ui.appendToPane(pane::outOfOrder(r));
    session.ui.appendToPane(pane::recordsProcessed(store.openRecordCount()));
    return end;
}

}  // namespace

std::optional<TextEnd> readOpenLogFrom(Session& session, FileReader& file, std::string_view path)
{
    FieldTable tableBefore = session.store.fields;
    if (const auto end = reportingStops(session.ui, path, [&] { return readLog(session, file, path); }))
        return end;
    session.store.fields = std::move(tableBefore);
    forgetOpenLog(session.store);
    return std::nullopt;
}

Outcome readOpenLog(Session& session, std::string_view path)
{
    const auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    if (!opened) {
        forgetOpenLog(session.store);
        return Outcome::Stopped;
    }
    return readOpenLogFrom(session, **opened, path) ? Outcome::Done : Outcome::Stopped;
}

}  // namespace logweave
