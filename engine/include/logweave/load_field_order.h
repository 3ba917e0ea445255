#pragma once

#include "logweave/session.h"

#include <string_view>

namespace logweave {

// Seeds the field table from a field order list, so that written files list
// fields in its order. A list that cannot be read leaves the table as it was
// and says so in the pane; the result tells whether the list was loaded.
bool loadFieldOrder(Session& session, std::string_view path);

}  // namespace logweave
