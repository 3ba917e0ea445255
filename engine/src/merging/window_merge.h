#pragma once
// The merge under the window rule: an added record and an open record are
// one contact when their call, band and mode are the same and their start
// times lie within the window. Each added record pairs with the nearest open
// record not yet paired; the merged log stays in order of date and time.

#include "merging/conflict_settler.h"
#include "merging/logs_to_merge.h"
#include "logweave/merge_counts.h"
#include "merging/merged_output.h"
#include "merging/window_pairing.h"

namespace logweave {

// `pairing` holds the open log's groups, entered before the added log is at hand.
void mergeWithinWindow(const LogsToMerge& logs, WindowPairing pairing, MergedOutput& out, ConflictSettler& settler,
                       MergeCounts& counts, std::size_t threads);

}  // namespace logweave
