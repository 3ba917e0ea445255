#pragma once
// The dated copies the WSJT-X update keeps of the files it replaces.

#include <chrono>
#include <string>
#include <string_view>

namespace logweave {

// "wsjtx_log.adi.20261207-183015.bak" for that file at that time, in local time.
std::string datedBackupName(std::string_view file, std::chrono::system_clock::time_point time);

}  // namespace logweave
