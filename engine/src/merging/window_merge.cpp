#include "merging/window_merge.h"

#include "merging/record_merger.h"

namespace logweave {
namespace {

// Where a record stands in the merged log: its date, then its time in six digits.
std::string orderOf(const ContactFields& fields, const Record& record)
{
    const auto [date, time] = fields.dateAndTime(record);
    std::string key(date);
    key.append(1, '\0').append(time);
    if (time.size() == 4)
        key.append("00");
    return key;
}

}  // namespace

void mergeWithinWindow(const LogsToMerge& logs, WindowPairing pairing, MergedOutput& out, ConflictSettler& settler,
                       MergeCounts& counts, std::size_t threads)
{
    const Log& open = logs.open;
    const Log& added = logs.added;
    const ContactFields fields(logs.fields);
    // The pairing's tables go before the writing starts.
    const WindowPairs pairs = std::move(pairing).pairEach(added, fields, threads);
    // The contact's date and time are those of the open log, without a question.
    RecordMerger merger(logs.fields, settler, [&fields](int field) { return fields.isDateOrTime(field); });
    MergedFields merged;
    // The first unpaired added record not yet written, and where it stands.
    std::size_t u = 0;
    const auto orderOfNext = [&] { return u < pairs.unpaired.size() ? orderOf(fields, added[pairs.unpaired[u]]) : ""; };
    std::string next = orderOfNext();
    const auto writeAddedBefore = [&](const std::string& order) {
        for (; u < pairs.unpaired.size() && next < order; next = orderOfNext()) {
            out.writeAdded(added[pairs.unpaired[u++]]);
            ++counts.added;
        }
    };
    for (std::size_t i = 0; i < open.size(); ++i) {
        writeAddedBefore(orderOf(fields, open[i]));
        if (pairs.partner[i] == 0) {
            out.writeOpen(open[i]);
            continue;
        }
        const Record& partner = added[pairs.partner[i] - 1];
        if (open[i].text() == partner.text()) {
            out.writeOpen(open[i]);
            ++counts.identical;
            continue;
        }
        merger.merge(open[i], partner, static_cast<long long>(i) + 1, merged);
        ++(merged.changes.empty() ? counts.identical : counts.different);
        out.writeMerged(open[i], std::move(merged));
    }
    for (; u < pairs.unpaired.size(); ++u, ++counts.added)
        out.writeAdded(added[pairs.unpaired[u]]);
}

}  // namespace logweave
