#pragma once

#include "logweave/outcome.h"
#include "logweave/output_options.h"
#include "logweave/session.h"

#include <chrono>
#include <string>
#include <string_view>

namespace logweave {

struct WsjtxUpdate {
    std::string logToUpdate;  // the WSJT-X log
    std::string logToMerge;   // the log brought into it
    ContactMatch sameContact;
    // When the update runs: the dated copy of the WSJT-X log is named after it, in local time.
    std::chrono::system_clock::time_point time = std::chrono::system_clock::now();
};

// Brings logToMerge into the WSJT-X log logToUpdate: reads the one, merges
// the other into it, keeps a dated copy of the log it replaces beside it (the
// newest ten are kept) and logToUpdate + "_old" (made once), then replaces
// logToUpdate, logToMerge and the text log "Wsjtx.log" beside logToUpdate,
// each atomically. Without the dated copy nothing is replaced. Failures of
// the replacements are reported one by one and the update goes on past them.
Outcome updateWsjtxLog(Session& session, const WsjtxUpdate& update);

// The folder part of a path, separator included: what precedes the file name.
std::string folderPrefix(std::string_view path);

// "wsjtx_log.adi.20261207-183015.bak" for that log at that time.
std::string datedBackupName(std::string_view log, std::chrono::system_clock::time_point time);

}  // namespace logweave
