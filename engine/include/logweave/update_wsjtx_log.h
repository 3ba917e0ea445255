#pragma once

#include "logweave/outcome.h"
#include "logweave/output_options.h"
#include "logweave/session.h"

#include <chrono>
#include <string>
#include <string_view>

namespace logweave {

struct WsjtxUpdate {
    std::string FicToUpdate;  // the WSJT-X log
    std::string FicToMerge;   // the log brought into it
    ContactMatch sameContact;
    // When the update runs: the dated copy of the WSJT-X log is named after it, in local time.
    std::chrono::system_clock::time_point time = std::chrono::system_clock::now();
};

// Brings FicToMerge into the WSJT-X log FicToUpdate: reads the one, merges
// the other into it, keeps a dated copy of the log it replaces beside it (the
// newest ten are kept) and FicToUpdate + "_old" (made once), then replaces
// FicToUpdate, FicToMerge and the text log "Wsjtx.log" beside FicToUpdate,
// each atomically. Without the dated copy nothing is replaced. Failures of
// the replacements are reported one by one and the update goes on past them.
Outcome UpdateWsjtxLog(Session& session, const WsjtxUpdate& update);

// The folder part of a path, separator included: what precedes the file name.
std::string folderPrefix(std::string_view path);

// "wsjtx_log.adi.20261207-183015.bak" for that log at that time.
std::string datedBackupName(std::string_view log, std::chrono::system_clock::time_point time);

}  // namespace logweave
