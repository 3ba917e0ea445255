#pragma once
// A record of the open log and a record of the added log merged into one.

#include "merging/conflict_settler.h"
#include "logweave/record.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace logweave {

// A merged record's fields; the values chosen in conflicts live here too.
struct MergedFields {
    std::vector<FieldText> fields;
    std::deque<std::string> chosen;
    void clear()
    {
        fields.clear();
        chosen.clear();
    }
};

// Fields whose value comes from the open record alone.
using OpenOnly = std::function<bool(int field)>;

// The fields of `open` and `added` in field-table order: a value only one of
// them holds, the value both hold, or, where they hold different values, the
// one the settler gives. A field `openOnly` names takes the open record's
// value, or none.
void mergeRecords(const Record& open, const Record& added, long long openRecord, ConflictSettler& settler,
                       MergedFields& merged, const OpenOnly& openOnly = {});

}  // namespace logweave
