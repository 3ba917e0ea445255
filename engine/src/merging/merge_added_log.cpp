#include "logweave/merge_added_log.h"

#include "merging/conflict_settler.h"
#include "merging/date_time_merge.h"
#include "reading/log_reader.h"
#include "logweave/pane_texts.h"
#include "logweave/write_record.h"
#include "writing/merged_output.h"
#include "reading/reading_from.h"
#include "reporting_stops.h"
#include "merging/window_merge.h"

namespace logweave {
namespace {

// Only one letter-case form of the end tag is counted: the first of "<EOR>"
// and "<eor>" the added log holds, else "<Eor>".
long long processedOf(const LogFile& added)
{
    const auto& counts = added.endTags;
    return counts[0] != 0 ? counts[0] : counts[1] != 0 ? counts[1] : counts[2];
}

MergeCounts writeMergedLog(Session& session, const LogFile& added, const ContactMatch& sameContact,
                           ConflictSettler& settler)
{
    LogStore& store = session.store;
    const OutputOptions options = session.ui.outputOptions();
    const std::string_view addedHeader = added.header ? std::string_view(*added.header) : std::string_view();
    MergedOutput out(session, chooseHeader(store, options.headerSource, addedHeader));
    MergeCounts counts;
    if (sameContact.rule == ContactRule::Window) {
        mergeWithinWindow(store, added.log, sameContact.minutes, out, settler, counts);
    } else {
        mergeAtSameDateAndTime(store, added.log, out, settler, counts);
    }
    counts.processed = processedOf(added);
    out.commit();
    return counts;
}

// The merged log, read back from its file, becomes the open log.
Outcome openMergedLog(Session& session)
{
    LogStore& store = session.store;
    const auto path = store.programFolder / "Logweave.adi";
    store.replaceLog({});  // the memory of the logs merged is free for the merged one
    // Every stop is caught here: the merged files are in place, and what the
    // merge changed must not be put back over them.
    const std::string file = bytesFromPath(path);
    const auto read = [&] {
        store.replaceLog(readWrittenLog(session, path));
        return Outcome::Done;
    };
    if (const auto outcome = reportingStops(session.ui, file, read))
        return *outcome;
    session.ui.appendToPane(pane::mergedLogNotRead(file));
    return Outcome::Stopped;
}

std::optional<TextEnd> mergeLog(Session& session, FileReader& file, std::string_view path,
                                const ContactMatch& sameContact)
{
    LogStore& store = session.store;
    MergeCounts counts;
    TextEnd end = TextEnd::AfterARecord;
    ConflictSettler settler(session, session.ui.outputOptions().upperCaseNames);
    {
        const LogFile added = readLogFile(session, file, pane::fileAdded(path));
        if (added.header)
            store.AddedHeader = *added.header;
        if (!added.endsAfterARecord)
            end = TextEnd::InARecord;
        counts = writeMergedLog(session, added, sameContact, settler);
    }
    session.ui.appendToPane(pane::mergeCounts(counts));
    settler.report();
    if (openMergedLog(session) != Outcome::Done)
        return std::nullopt;
    return end;
}

}  // namespace

std::optional<TextEnd> mergeAddedLogFrom(Session& session, FileReader& file, std::string_view path,
                                         const ContactMatch& sameContact)
{
    LogStore& store = session.store;
    FieldTable tableBefore = store.fields;
    const std::string addedHeaderBefore = store.AddedHeader;
    if (const auto end = reportingStops(session.ui, path, [&] { return mergeLog(session, file, path, sameContact); }))
        return *end;
    store.fields = std::move(tableBefore);
    store.AddedHeader = addedHeaderBefore;
    return std::nullopt;
}

Outcome mergeAddedLog(Session& session, std::string_view path, const ContactMatch& sameContact)
{
    const auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    if (!opened)
        return Outcome::Stopped;
    return mergeAddedLogFrom(session, **opened, path, sameContact) ? Outcome::Done : Outcome::Stopped;
}

}  // namespace logweave
