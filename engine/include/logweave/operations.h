#pragma once
// The engine's operations, each with its contract. Each reports in the pane
// as it goes. One that cannot go on (bad input, a file that cannot be read
// or written, not memory enough) says why in the pane and returns Stopped;
// it leaves the store and every file it was about to write as they were,
// unless its contract says otherwise. Nothing is left half-written.

#include "logweave/log_store.h"
#include "logweave/outcome.h"
#include "logweave/output_options.h"
#include "logweave/session.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace logweave {

// Shows the options dialog; returns the options as the user left it.
OutputOptions reviewOutputOptions(UserInterface& ui);

// Reads the log at `path` as the open log, in order of date and time, and
// writes its tidy copy "Adif_File.adi" and its field names "AdifCodes.txt".
// The options' field order list, when it can be read, gives the order of the
// fields. A read that stops leaves no log open.
Outcome readOpenLog(LogStore& store, const Session& session, std::string_view path, const OutputOptions& options);

// What the store holds once a merge has put its files in place.
enum class AfterMerge {
    OpenMergedLog,
    // For a caller that does nothing after the merge: the merged log is not
    // read back, and no log is open.
    CloseLogs,
};

// Merges the log at `path` into the open log contact by contact (the
// options' `sameContact` says what one contact is), asking the user where
// two records of one contact hold different values. Writes "Logweave.adi"
// and the contact list "Logweave.log"; the merged log becomes the open log.
// A merge that stops before its files are written leaves them and the store
// as they were; one whose merged log cannot be read back leaves no log open.
Outcome mergeAddedLog(LogStore& store, const Session& session, std::string_view path, const OutputOptions& options,
                      AfterMerge after = AfterMerge::OpenMergedLog);

// Splits the open log by `expression` ("BAND:6M;MODE:FT8", letter case
// ignored): the records that match every term go to "Adif_Filtre2.adi", the
// others to "Adif_Filtre1.adi". A term without ":" refuses the expression.
Outcome filterOpenLog(const LogStore& store, const Session& session, std::string_view expression,
                      const OutputOptions& options);

struct WsjtxUpdate {
    std::string logToUpdate;  // the WSJT-X log
    std::string logToMerge;   // the log brought into it
    // Names, spacing, header and what one contact is; the field order is the WSJT-X list's.
    OutputOptions options;
    // The dated copies are named after it, in local time.
    std::chrono::system_clock::time_point time = std::chrono::system_clock::now();
};

// Brings `logToMerge` into the WSJT-X log `logToUpdate`: reads the one as
// the open log with the field order list "AdifCodes_Liste_WSJT-X.txt",
// merges the other into it, keeps a dated copy of each beside it (the newest
// ten) and the WSJT-X log's "_old" copy (made once), then replaces both and
// the text log "Wsjtx.log" beside the WSJT-X log. Without the dated copies
// nothing is replaced. What another program appends to the two logs
// meanwhile is kept in them; a log that another program holds open for
// writing or rewrites is not replaced. A replacement that fails is reported
// and the others go on; the update then returns Stopped. The merged log is
// the open log afterwards.
Outcome updateWsjtxLog(LogStore& store, const Session& session, const WsjtxUpdate& update);

// When "Logweave.cfg" in the program folder names both files, runs their
// update, merging by its Match line unless `sameContact` is given. Done
// when there is nothing to update.
Outcome runSavedUpdate(LogStore& store, const Session& session, const OutputOptions& options,
                       std::optional<ContactMatch> sameContact = std::nullopt,
                       std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

}  // namespace logweave
