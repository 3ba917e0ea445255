#include "logweave/merge_added_log.h"

#include "logweave/pane_texts.h"
#include "logweave/sort_record_lines.h"
#include "logweave/text.h"
#include "record_scanner.h"
#include "reporting_stops.h"

#include <memory>
#include <vector>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

// Only one letter-case form of the end tag is counted: the first of these found.
long long countEndTags(std::string_view text)
{
    std::string_view form = "<Eor>";
    if (text.find("<EOR>") != npos)
        form = "<EOR>";
    else if (text.find("<eor>") != npos)
        form = "<eor>";
    long long count = 0;
    for (auto pos = text.find(form); pos != npos; pos = text.find(form, pos + form.size()))
        ++count;
    return count;
}

std::string countsText(const MergeCounts& c)
{
    return signedCount(c.processed) + " enregistrements traitées [records processed].\r\n"
        + signedCount(c.added) + " enregistrements ajoutés [records added], \r\n"
        + signedCount(c.identical) + " enregistrements identiques et [identical records and]\r\n"
        + signedCount(c.different) + " enregistrements différents [different records].\r\n\r\n";
}

int compareContacts(const LogStore& store, int r)
{
    const int d = store.standard.Idx_QSO_DATE;
    const int t = store.standard.Idx_TIME_ON;
    if (const int c = store.FieldValues(d, 0).compare(store.FieldValues(d, r)); c != 0)
        return c;
    return store.FieldValues(t, 0).compare(store.FieldValues(t, r));
}

// The walk in step: each added record meets the open record at the cursor.
class MergeWalk {
public:
    MergeWalk(Session& session, std::string& out, OutputNames& names)
        : session_(session), store_(session.store), out_(out), names_(names) {}

    void place(MergeCounts& counts)
    {
        for (;;) {
            const int k = cursor_;
            if (store_.RecordText(k) == store_.RecordText(0)) {
                writeRecord(0);
                moveCursor();
                ++counts.identical;
                return;
            }
            const int order = compareContacts(store_, k);
            if (order == 0) {
                WriteMergedRecord(session_, out_, names_, k, same_);
                writeRecordEnd(out_, store_);
                ++written_;
                moveCursor();
                ++counts.different;
                return;
            }
            if (order > 0 && k <= store_.OpenRecordCount && !exhausted_) {
                // The open record comes first; the added one meets the next.
                writeRecord(k);
                moveCursor();
                continue;
            }
            writeRecord(0);
            ++counts.added;
            return;
        }
    }

    void finish()
    {
        if (exhausted_)
            return;
        for (int r = cursor_; r <= store_.OpenRecordCount; ++r)
            writeRecord(r);
    }

    const SameChoices& sameChoices() const noexcept { return same_; }

    // Records written so far: the merged log's size before it is read back.
    long long written() const noexcept { return written_; }

private:
    void writeRecord(int r)
    {
        WriteRecord(out_, store_.record(r), names_);
        writeRecordEnd(out_, store_);
        ++written_;
    }

    void moveCursor()
    {
        if (cursor_ < store_.OpenRecordCount)
            ++cursor_;
        else
            exhausted_ = true;  // later records still meet the last open one
    }

    Session& session_;
    LogStore& store_;
    std::string& out_;
    OutputNames& names_;
    int cursor_ = 1;
    bool exhausted_ = false;
    long long written_ = 0;
    SameChoices same_;
};

void reportSameChoices(Session& session, const SameChoices& same)
{
    if (same.settled.empty())
        return;
    const bool upper = session.ui.outputOptions().UpperCaseNames;
    std::vector<std::pair<std::string, long long>> settled;
    for (const auto& [field, count] : same.settled)
        settled.emplace_back(OutputFieldName(session.store.fields, field, upper), count);
    session.ui.appendToPane(pane::sameChoices(settled));
}

std::string_view chooseHeader(const LogStore& store, HeaderSource source, bool addedHasHeader)
{
    switch (source) {
    case HeaderSource::AddedLog:
        // An added log without a header lends none: the open log's stands in.
        return addedHasHeader ? store.AddedHeader : store.OpenHeader;
    case HeaderSource::OpenLog:
        return store.OpenHeader;
    case HeaderSource::Program:
        break;
    }
    return store.ProgramHeader;
}

std::vector<Record> readBack(const std::shared_ptr<const std::string>& merged, FieldTable& fields)
{
    const std::size_t eoh = findEndOfHeader(*merged);
    RecordScanner scanner(merged, eoh == npos ? 0 : eoh + 1, fields);
    std::vector<Record> log;
    while (auto record = scanner.next())
        log.push_back(std::move(*record));
    return log;
}

Outcome mergeLog(Session& session, std::string_view path)
{
    LogStore& store = session.store;
    UserInterface& ui = session.ui;
    std::string sorted = session.files.readFile(pathFromBytes(path));
    SortRecordLines(sorted);
    const auto added = std::make_shared<const std::string>(std::move(sorted));
    const std::string_view text = *added;
    ui.appendToPane("* * *  Ajout du fichier [File added] : " + displayText(path) + "   * * *\r\n\r\n");

    std::size_t scanStart = 0;
    const std::size_t eoh = findEndOfHeader(text);
    if (eoh != npos) {
        store.AddedHeader = withCrLf(text.substr(0, eoh)) + store.EohTag;
        ui.appendToPane(displayText(store.AddedHeader) + "\r\n\r\n");
        scanStart = eoh + 1;
    }
    const OutputOptions options = ui.outputOptions();
    std::string merged;
    // Room for both logs: the merged one is rarely larger.
    std::size_t room = text.size();
    for (int r = 1; r <= store.OpenRecordCount; ++r)
        room += store.RecordText(r).size() + 8;
    merged.reserve(room);
    writeHeaderLine(merged, store, chooseHeader(store, options.headerSource, eoh != npos));

    OutputNames names(store.fields, options.UpperCaseNames);
    MergeWalk walk(session, merged, names);
    MergeCounts counts;
    RecordScanner scanner(added, scanStart, store.fields);
    while (auto record = scanner.next()) {
        store.setScratch(std::move(*record));
        walk.place(counts);
        store.ClearRecord(0);
    }
    reportScanEnd(ui, scanner);
    walk.finish();
    counts.processed = countEndTags(text);
    // The last added record's text stays, as the scratch record's, without the whole added log.
    store.setScratch(Record(std::string(store.RecordText(0)), {}));

    const std::filesystem::path mergedPath = store.programFolder / "Logweave.adi";
    if (walk.written() > kMaxRecords) {
        session.files.writeFile(mergedPath, merged);
        ui.appendToPane(countsText(counts));
        ui.appendToPane(pane::paragraph(
            "Le log fusionné compte" + signedCount(walk.written())
            + " enregistrements, plus que les 20000 que le programme peut tenir : Logweave.adi est écrit, "
              "le log ouvert reste celui d'avant l'ajout et Logweave.log n'est pas écrit "
              "[The merged log holds" + signedCount(walk.written())
            + " records, more than the 20000 the program can hold: Logweave.adi is written, "
              "the open log stays as it was before the Add and Logweave.log is not written]"));
        return Outcome::Stopped;
    }
    const auto mergedText = std::make_shared<const std::string>(std::move(merged));
    std::vector<Record> log = readBack(mergedText, store.fields);

    // The contact list is made from the merged log before either file is
    // written, so that the two files are written together or not at all.
    const auto count = static_cast<int>(log.size());
    std::vector<Record> previous = store.replaceLog(std::move(log));
    std::string contacts;
    for (int r = 1; r <= count; ++r)
        WriteContactLine(contacts, store, r);
    try {
        session.files.writeFiles({{mergedPath, *mergedText}, {store.programFolder / "Logweave.log", contacts}});
    } catch (const FileError&) {
        store.replaceLog(std::move(previous));
        throw;
    }
    ui.appendToPane(countsText(counts));
    reportSameChoices(session, walk.sameChoices());
    store.CurrentRecord = count + 1;
    return Outcome::Done;
}

}  // namespace

Outcome MergeAddedLog(Session& session, std::string_view path)
{
    LogStore& store = session.store;
    const FieldTable tableBefore = store.fields;
    const std::string addedHeaderBefore = store.AddedHeader;
    if (const auto outcome = reportingStops(session.ui, [&] { return mergeLog(session, path); }))
        return *outcome;
    store.fields = tableBefore;
    store.AddedHeader = addedHeaderBefore;
    store.ClearRecord(0);
    return Outcome::Stopped;
}

}  // namespace logweave
