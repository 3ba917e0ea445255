#pragma once
// The field order list: one field name a line, the order in which written
// files list their fields.

#include "logweave/field_table.h"
#include "logweave/session.h"

#include <optional>
#include <string_view>

namespace logweave {

// The field table the list at `path` gives; nullopt, after saying in the pane
// why, when it cannot be read.
std::optional<FieldTable> loadFieldOrder(const Session& session, std::string_view path);

}  // namespace logweave
