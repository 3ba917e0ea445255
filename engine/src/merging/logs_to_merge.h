#pragma once
// What a merge walks: the open log and the added log, and the field table and
// standard fields that both are read with.

#include "logweave/field_table.h"
#include "logweave/log.h"
#include "logweave/standard_fields.h"

namespace logweave {

struct LogsToMerge {
    const Log& open;
    const Log& added;
    const FieldTable& fields;
    const StandardFields& standard;
};

}  // namespace logweave
