#include "logweave/read_open_log.h"

#include "logweave/pane_texts.h"
#include "logweave/sort_record_lines.h"
#include "logweave/text.h"
#include "logweave/write_record.h"
#include "record_scanner.h"
#include "reporting_stops.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace logweave {
namespace {

std::string adifCodes(const FieldTable& fields, bool upperCase)
{
    std::string out;
    for (int i = 1; i <= fields.FieldCount(); ++i) {
        out += OutputFieldName(fields, i, upperCase);
        out += kCrLf;
    }
    out += kCrLf;
    for (int i = 1; i <= fields.FieldCount(); ++i) {
        out += fields.SortedFieldNames(i);
        out += kCrLf;
    }
    return out;
}

// The first record whose date and time come before those of the record above it.
int firstOutOfOrder(const LogStore& store)
{
    const int d = store.standard.Idx_QSO_DATE;
    const int t = store.standard.Idx_TIME_ON;
    for (int r = 2; r <= store.OpenRecordCount; ++r) {
        const auto date = store.FieldValues(d, r);
        const auto before = store.FieldValues(d, r - 1);
        if (date < before || (date == before && store.FieldValues(t, r) < store.FieldValues(t, r - 1)))
            return r;
    }
    return 0;
}

void forgetOpenLog(LogStore& store)
{
    store.replaceLog({});
    store.CurrentRecord = 0;
    store.OpenHeader.clear();
    store.standard = {};
}

Outcome readLog(Session& session, std::string_view path)
{
    LogStore& store = session.store;
    UserInterface& ui = session.ui;
    std::string sorted = session.files.readFile(pathFromBytes(path));
    SortRecordLines(sorted);
    // The records keep pieces of this text: it is shared, not copied.
    const auto shared = std::make_shared<const std::string>(std::move(sorted));
    const std::string_view text = *shared;
    ui.appendToPane("* * *  Lecture du fichier [File read]: " + displayText(path) + "   * * *\r\n\r\n");

    // Nothing of an earlier log leaks into this one.
    forgetOpenLog(store);
    const bool upperCase = ui.outputOptions().UpperCaseNames;
    OutputNames names(store.fields, upperCase);
    std::string adif;
    adif.reserve(text.size() + text.size() / 8);

    std::size_t scanStart = 0;
    if (const std::size_t eoh = findEndOfHeader(text); eoh != std::string::npos) {
        store.OpenHeader = withCrLf(text.substr(0, eoh)) + store.EohTag;
        writeHeaderLine(adif, store, store.OpenHeader);
        ui.appendToPane(displayText(store.OpenHeader) + "\r\n\r\n");
        scanStart = eoh + 1;
    }

    std::vector<Record> log;
    log.reserve(std::min<std::size_t>(kMaxRecords + 1, text.size() / 64 + 16));
    RecordScanner scanner(shared, scanStart, store.fields);
    while (auto record = scanner.next()) {
        if (log.size() == static_cast<std::size_t>(kMaxRecords))
            throw OperationStopped(pane::recordLimit());
        WriteRecord(adif, *record, names);
        writeRecordEnd(adif, store);
        log.push_back(std::move(*record));
    }
    reportScanEnd(ui, scanner);

    session.files.writeFiles({{store.programFolder / "Adif_File.adi", adif},
                              {store.programFolder / "AdifCodes.txt", adifCodes(store.fields, upperCase)}});

    store.replaceLog(std::move(log));
    store.CurrentRecord = store.OpenRecordCount;
    store.standard = findStandardFields(store.fields);
    if (const int r = firstOutOfOrder(store); r != 0)
        ui.appendToPane(pane::paragraph(
            "Enregistrement" + signedCount(r) + " hors de l'ordre des dates et heures, le log est pris tel quel "
            "[Record" + signedCount(r) + " out of date and time order, the log is taken as it is]"));
    ui.appendToPane(signedCount(store.OpenRecordCount) + " enregistrements traitées [records processed] \r\n\r\n");
    return Outcome::Done;
}

}  // namespace

Outcome ReadOpenLog(Session& session, std::string_view path)
{
    const FieldTable tableBefore = session.store.fields;
    if (const auto outcome = reportingStops(session.ui, [&] { return readLog(session, path); }))
        return *outcome;
    session.store.fields = tableBefore;
    forgetOpenLog(session.store);
    return Outcome::Stopped;
}

}  // namespace logweave
