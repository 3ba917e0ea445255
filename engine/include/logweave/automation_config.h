#pragma once
// "Logweave.cfg" in the program folder: when it names a WSJT-X log and a log
// to merge into it, the update runs by itself at every start.

#include "logweave/file_system.h"
#include "logweave/output_options.h"

#include <optional>
#include <string>
#include <string_view>

namespace logweave {

struct AutomationPaths {
    std::string logToUpdate;
    std::string logToMerge;
    // From a line "Match = window 30", which earlier versions ignore.
    ContactMatch sameContact;
    bool operator==(const AutomationPaths&) const = default;
};

// The paths a configuration text sets, starting from `paths`.
AutomationPaths parseAutomationFile(std::string_view text, AutomationPaths paths);

// The paths the file in `programFolder` sets, starting from `paths`; nullopt
// when there is no such file or it cannot be read.
std::optional<AutomationPaths> readAutomationFile(FileSystem& files, const std::filesystem::path& programFolder,
                                                  AutomationPaths paths);

// Writes the file: four lines, and a fifth for a rule other than the same
// date and time; returns its path. Throws FileError when it cannot: the caller says so.
std::filesystem::path saveAutomationFile(FileSystem& files, const std::filesystem::path& programFolder,
                                         std::string_view toUpdate, std::string_view toMerge,
                                         const ContactMatch& sameContact = {});

}  // namespace logweave
