#pragma once

#include "logweave/merge_counts.h"
#include "logweave/outcome.h"
#include "logweave/output_options.h"
#include "logweave/session.h"

#include <string_view>

namespace logweave {

// Merges the log at `path` into the open log, contact by contact, asking the
// user where two records of one contact hold different values. `sameContact`
// says what makes two records one contact. Writes "Logweave.adi" and the
// contact list "Logweave.log"; the merged log becomes the open log. A merge
// that stops before its files are written leaves both files and the store as
// they were.
Outcome mergeAddedLog(Session& session, std::string_view path, const ContactMatch& sameContact);

}  // namespace logweave
