#pragma once
// The merge under the exact rule: an added record is the contact of an open
// record with the same QSO_DATE and TIME_ON, unless both name a call and the
// calls differ. The two logs are walked in step, in order of date and time.

#include "merging/conflict_settler.h"
#include "merging/logs_to_merge.h"
#include "logweave/merge_counts.h"
#include "merging/merged_output.h"

namespace logweave {

void mergeAtSameDateAndTime(const LogsToMerge& logs, MergedOutput& out, ConflictSettler& settler, MergeCounts& counts);

}  // namespace logweave
