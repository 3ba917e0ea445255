#pragma once

#include "logweave/outcome.h"
#include "logweave/session.h"

#include <string_view>

namespace logweave {

// Reads a log into the store as the open log, writes "Adif_File.adi" and
// "AdifCodes.txt" into the program folder and reports in the pane. A read that
// stops leaves no log in the store and its two files as they were.
Outcome readOpenLog(Session& session, std::string_view path);

}  // namespace logweave
