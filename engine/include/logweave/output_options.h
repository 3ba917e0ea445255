#pragma once
// The options the user sets in the options dialog, and the form of the ADIF
// files written that follows from them.

#include <optional>
#include <string>
#include <string_view>

namespace logweave {

enum class HeaderSource { AddedLog, OpenLog, Program };

// What makes an added record and an open record one contact in a merge.
enum class ContactRule {
    SameDateAndTime,  // the same QSO_DATE and TIME_ON texts
    Window,           // the same call, band and mode, started within `minutes`
};

struct ContactMatch {
    ContactRule rule = ContactRule::SameDateAndTime;
    int minutes = 30;

    bool operator==(const ContactMatch&) const = default;
};

// The window's minutes written as digits only, above zero; nothing for any other text.
std::optional<int> windowMinutes(std::string_view digits) noexcept;

struct OutputOptions {
    std::string fieldOrderFile = "AdifCodes_Liste.txt";  // empty: no list
    bool upperCaseNames = false;
    bool doubleSpacing = false;
    HeaderSource headerSource = HeaderSource::AddedLog;
    ContactMatch sameContact;

    bool operator==(const OutputOptions&) const = default;
};

// How the program writes ADIF: end tags and field names in one letter case,
// a blank line after each header and record or none, and whose header
// merged and filtered files take.
struct OutputForm {
    std::string endOfRecord = "<eor>";
    std::string endOfHeader = "<eoh>";
    std::string lineSpacer;
    bool upperCaseNames = false;
    HeaderSource headerSource = HeaderSource::AddedLog;

    static OutputForm of(const OutputOptions& options);
    // The WSJT-X program's own end tags, lower case whatever the names are.
    static OutputForm ofWsjtxLog(const OutputOptions& options);
    // The program's own header, ended as this form ends headers.
    std::string programHeader() const { return "Logweave " + endOfHeader; }
};

}  // namespace logweave
