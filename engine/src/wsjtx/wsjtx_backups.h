#pragma once
// The copies an update keeps of the files it replaces: one dated copy an
// update, the newest ten of them kept, and for the WSJT-X log the "_old" copy
// made once.

#include "logweave/session.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace logweave {

// The dated copy of `file`, which `read` read: the file itself under a
// second name, since it is replaced by another; nullopt, after saying why in
// the pane, when none could be made. Throws the FileError of a file that
// another file took the place of.
std::optional<std::string> keepDatedCopy(const Session& session, const std::string& file, FileReader& read,
                                         std::chrono::system_clock::time_point time);

// The folder part of a path, separator included: what precedes the file name.
std::string folderPrefix(std::string_view path);

// Removes a dated copy this update made, when it replaces nothing after all.
void forgetCopy(const Session& session, const std::string& copy);

// Removes the dated copies of `file` older than the newest ten.
void removeOldCopies(const Session& session, const std::string& file);

// `log` + "_old", unless one is there already.
void keepFirstCopy(const Session& session, const std::string& log);

}  // namespace logweave
