#pragma once
// A log file read as the program reads logs: its text tidied, its records in
// order of date and time, its header and what the end of the file left said
// in the pane.

#include "logweave/field_table.h"
#include "logweave/log.h"
#include "logweave/session.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace logweave {

struct LogFile {
    Log log;
    // The text before its end-of-header tag, then the one the caller writes; none when it has no header.
    std::optional<std::string> header;
    // How often "<EOR>", "<eor>" and "<Eor>" stand in its text.
    std::array<long long, 3> endTags{};
    // Whether its text ends with an end-of-record tag, blanks aside: a file
    // being appended to may have been read in the middle of a contact.
    bool endsAfterARecord = true;
};

// Reads `file`: says `banner` in the pane, then the header, ended by
// `endOfHeader`; the names met enter `fields`.
LogFile readLogFile(const Session& session, FileReader& file, std::string_view banner, FieldTable& fields,
                    std::string_view endOfHeader);

// A log the program wrote itself, read as it stands: no tidying, no sort,
// nothing said, no stop at the user's wish (its files are in place); the
// names met enter `fields`.
Log readWrittenLog(const Session& session, const std::filesystem::path& path, FieldTable& fields);

}  // namespace logweave
