#pragma once
// The copies an update keeps of the WSJT-X log it replaces: one dated copy
// an update, the newest ten of them kept, and the "_old" copy made once.

#include "logweave/session.h"

#include <chrono>
#include <string>

namespace logweave {

// The dated copy of `log`; false, after saying why in the pane, when none could be made.
bool keepDatedCopy(Session& session, const std::string& log, std::chrono::system_clock::time_point time);

// Removes the dated copies of `log` older than the newest ten.
void removeOldCopies(Session& session, const std::string& log);

// `log` + "_old", unless one is there already.
void keepFirstCopy(Session& session, const std::string& log);

}  // namespace logweave
