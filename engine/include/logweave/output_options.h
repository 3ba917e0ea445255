#pragma once
// The options the user sets in the options dialog; they hold for one run.

#include <string>

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

struct OutputOptions {
    std::string FieldOrderFile = "AdifCodes_Liste.txt";  // empty: no list
    bool UpperCaseNames = false;
    bool DoubleSpacing = false;
    HeaderSource headerSource = HeaderSource::AddedLog;
    ContactMatch sameContact;

    bool operator==(const OutputOptions&) const = default;
};

}  // namespace logweave
