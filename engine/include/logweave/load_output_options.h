#pragma once

#include "logweave/session.h"

namespace logweave {

// Lets the user review the output options, then applies them: the field
// order list, the end tags, the line spacing and the program's header.
void reviewOutputOptions(Session& session);

// Applies options without showing them (steps after the dialog).
void applyOutputOptions(Session& session, const OutputOptions& options);

}  // namespace logweave
