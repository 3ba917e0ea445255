#pragma once

#include "logweave/outcome.h"
#include "logweave/session.h"

#include <string>
#include <string_view>

namespace logweave {

// Brings FicToMerge into the WSJT-X log FicToUpdate: reads the one, merges
// the other into it, keeps the old log as FicToUpdate + "_old" (an earlier
// backup is never replaced), then replaces FicToUpdate, FicToMerge and the
// text log "Wsjtx.log" beside FicToUpdate, each atomically. Failures of the
// replacements are reported one by one and the update goes on past them.
Outcome UpdateWsjtxLog(Session& session);

// The folder part of a path, separator included: what precedes the file name.
std::string folderPrefix(std::string_view path);

}  // namespace logweave
