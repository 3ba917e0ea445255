#include "logweave/operations.h"

#include "merging/changes_file.h"
#include "merging/conflict_settler.h"
#include "merging/date_time_merge.h"
#include "reading/log_reader.h"
#include "logweave/pane_texts.h"
#include "writing/write_record.h"
#include "merging/merged_output.h"
#include "reading/reading_from.h"
#include "progress_meter.h"
#include "reporting_stops.h"
#include "merging/window_merge.h"

#include <future>

namespace logweave {
namespace {

// Only one letter-case form of the end tag is counted: the first of "<EOR>"
// and "<eor>" the added log holds, else "<Eor>".
long long processedOf(const LogFile& added)
{
    const auto& counts = added.endTags;
    return counts[0] != 0 ? counts[0] : counts[1] != 0 ? counts[1] : counts[2];
}

// The open log's side of the window rule, worked out beside the reading of
// the added log, which leaves part of the machine idle: a merge of two logs
// of a million records took 0.977 of the time (15 paired runs). Given one
// thread, or where no thread can be started, it is worked out when asked for.
std::future<WindowPairing> pairOpenLogAside(const LogStore& store, const Session& session,
                                            const ContactMatch& sameContact)
{
    if (sameContact.rule != ContactRule::Window)
        return {};
    const auto policy = session.threads > 1 ? std::launch::async | std::launch::deferred : std::launch::deferred;
    return std::async(policy, [&store, &session, windowSeconds = 60LL * sameContact.minutes] {
        return WindowPairing(store.openLog(), ContactFields(store.fields()), windowSeconds, session.threads);
    });
}

MergeCounts writeMergedLog(const LogStore& store, const Session& session, const LogFile& added, const FieldTable& fields,
                           const OutputForm& form, const ContactMatch& sameContact, ConflictSettler& settler,
                           std::future<WindowPairing>& openSide)
{
    const LogsToMerge logs{store.openLog(), added.log, fields, store.standardFields()};
    const std::string header = chooseHeader(store.openHeader(), added.header.value_or(""), form);
    MergedOutput out(session, fields, store.standardFields(), form, header, logs.open.size() + logs.added.size());
    MergeCounts counts;
    if (sameContact.rule == ContactRule::Window)
        mergeWithinWindow(logs, openSide.get(), out, settler, counts, session.threads);
    else
        mergeAtSameDateAndTime(logs, out, settler, counts);
    counts.processed = processedOf(added);
    counts.changedValues = out.changedValues();
    stopIfCancelled(session.ui);  // the last moment a cancel leaves every file as it was
    out.commit();
    return counts;
}

// The merged log, read back from its file, becomes the open log, under the
// header of the log it was merged into.
Outcome openMergedLog(LogStore& store, const Session& session, FieldTable fields)
{
    const auto path = session.programFolder / "Logweave.adi";
    OpenedLog merged{{}, {}, store.standardFields(), store.openHeader(), bytesFromPath(path)};
    store.close(fields);  // the memory of the logs merged is free for the merged one
    // Every stop is caught here: the merged files are in place, and what the
    // merge changed must not be put back over them.
    const std::string file = bytesFromPath(path);
    const auto read = [&] {
        merged.log = readWrittenLog(session, path, fields);
        merged.fields = std::move(fields);
        store.open(std::move(merged));
        return Outcome::Done;
    };
    if (const auto outcome = reportingStops(session.ui, file, read))
        return *outcome;
    session.ui.appendToPane(pane::mergedLogNotRead(file));
    return Outcome::Stopped;
}

std::optional<TextEnd> mergeLog(LogStore& store, const Session& session, FileReader& file, std::string_view path,
                                const OutputForm& form, const ContactMatch& sameContact, AfterMerge after)
{
    FieldTable fields = store.fields();
    MergeCounts counts;
    TextEnd end = TextEnd::AfterARecord;
    ConflictSettler settler(session.ui, fields, store.standardFields(), form.upperCaseNames, store.openLogPath(),
                            std::string(path));
    {
        // Waited for, should the reading stop, before the store can change.
        std::future<WindowPairing> openSide = pairOpenLogAside(store, session, sameContact);
        const LogFile added = readLogFile(session, file, pane::fileAdded(path), fields, form.endOfHeader);
        if (!added.endsAfterARecord)
            end = TextEnd::InARecord;
        counts = writeMergedLog(store, session, added, fields, form, sameContact, settler, openSide);
        if (added.header)
            store.keepAddedHeader(*added.header);
    }
    session.ui.appendToPane(pane::mergeCounts(counts));
    settler.report();
    session.ui.appendToPane(
        pane::changesWritten(bytesFromPath(session.programFolder / kChangesFileName), counts.added, counts.changedValues));
    if (after == AfterMerge::CloseLogs)
        store.close(std::move(fields));
    else if (openMergedLog(store, session, std::move(fields)) != Outcome::Done)
        return std::nullopt;
    return end;
}

}  // namespace

std::optional<TextEnd> mergeAddedLogFrom(LogStore& store, const Session& session, FileReader& file,
                                         std::string_view path, const OutputForm& form, const ContactMatch& sameContact,
                                         AfterMerge after)
{
    // The store changes only once the merged files are in place.
    if (const auto end = reportingStops(session.ui, path,
                                        [&] { return mergeLog(store, session, file, path, form, sameContact, after); }))
        return *end;
    return std::nullopt;
}

Outcome mergeAddedLog(LogStore& store, const Session& session, std::string_view path, const OutputOptions& options,
                      AfterMerge after)
{
    auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    if (!opened)
        return Outcome::Stopped;
    return mergeAddedLogFrom(store, session, **opened, path, OutputForm::of(options), options.sameContact, after)
        ? Outcome::Done
        : Outcome::Stopped;
}

}  // namespace logweave
