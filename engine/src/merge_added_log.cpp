#include "logweave/merge_added_log.h"

#include "conflict_settler.h"
#include "log_reader.h"
#include "logweave/pane_texts.h"
#include "logweave/write_record.h"
#include "merged_output.h"
#include "reading_from.h"
#include "reporting_stops.h"
#include "window_merge.h"
#include "write_merged_record.h"

namespace logweave {
namespace {

// Only one letter-case form of the end tag is counted: the first of "<EOR>"
// and "<eor>" the added log holds, else "<Eor>".
long long processedOf(const LogFile& added)
{
    const auto& counts = added.endTags;
    return counts[0] != 0 ? counts[0] : counts[1] != 0 ? counts[1] : counts[2];
}

// The walk in step: each added record meets the open record at the cursor, a
// contact being its QSO_DATE and TIME_ON.
class WalkInStep {
public:
    WalkInStep(const LogStore& store, MergedOutput& out, ConflictSettler& settler, MergeCounts& counts)
        : open_(store.openLog()), idx_(store.standard), out_(out), settler_(settler), counts_(counts)
    {
    }

    void place(const Record& added)
    {
        for (;;) {
            const Record& open = openAt(cursor_);
            if (open.text() == added.text()) {
                out_.write(added);
                moveCursor();
                ++counts_.identical;
                return;
            }
            const int order = compareContacts(added, open);
            if (order == 0) {
                WriteMergedRecord(open, added, cursor_, settler_, merged_);
                out_.write(merged_.fields);
                moveCursor();
                ++counts_.different;
                return;
            }
            if (order < 0 || exhausted_ || cursor_ > count())
                break;
            out_.write(open);  // the open record comes first; the added one meets the next
            moveCursor();
        }
        out_.write(added);
        ++counts_.added;
    }

    void finish()
    {
        for (long long r = cursor_; !exhausted_ && r <= count(); ++r)
            out_.write(openAt(r));
    }

private:
    long long count() const noexcept { return static_cast<long long>(open_.size()); }
    // An open log without records meets every added record with an empty one.
    const Record& openAt(long long r) const { return r <= count() ? open_[static_cast<std::size_t>(r - 1)] : none_; }

    int compareContacts(const Record& added, const Record& open) const
    {
        if (const int c = added.value(idx_.Idx_QSO_DATE).compare(open.value(idx_.Idx_QSO_DATE)); c != 0)
            return c;
        return added.value(idx_.Idx_TIME_ON).compare(open.value(idx_.Idx_TIME_ON));
    }

    void moveCursor()
    {
        if (cursor_ < count())
            ++cursor_;
        else
            exhausted_ = true;  // later records still meet the last open one
    }

    const Log& open_;
    const StandardFields& idx_;
    MergedOutput& out_;
    ConflictSettler& settler_;
    MergeCounts& counts_;
    MergedFields merged_;
    Record none_;
    long long cursor_ = 1;
    bool exhausted_ = false;
};

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
        WalkInStep walk(store, out, settler, counts);
        for (const Record& record : added.log)
            walk.place(record);
        walk.finish();
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
    ConflictSettler settler(session, session.ui.outputOptions().UpperCaseNames);
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

Outcome MergeAddedLog(Session& session, std::string_view path, const ContactMatch& sameContact)
{
    const auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    if (!opened)
        return Outcome::Stopped;
    return mergeAddedLogFrom(session, **opened, path, sameContact) ? Outcome::Done : Outcome::Stopped;
}

}  // namespace logweave
