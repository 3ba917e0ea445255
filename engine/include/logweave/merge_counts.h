#pragma once

namespace logweave {

// What a merge did with the added log's records.
struct MergeCounts {
    long long processed = 0;  // end tags of the counted form in the added log
    long long added = 0;
    long long identical = 0;
    long long different = 0;
    long long changedValues = 0;  // fields of the different records that the merged record changed or settled
};

}  // namespace logweave
