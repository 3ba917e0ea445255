#pragma once
// What makes a record the same contact as another for the window rule: the
// same call, band and mode, and a start time near enough.

#include "logweave/field_table.h"
#include "merging/changes_file.h"
#include "merging/value_meaning.h"
#include "logweave/record.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace logweave {

// The band of a frequency in MHz by the ADIF band plan, in its ADIF name
// ("20m"); empty when the frequency is in no band.
std::string_view bandOfFrequency(std::string_view megahertz);

// A mode with its submode taken to the mode ADIF puts it under: FT4 is MFSK,
// USB and LSB are SSB. Upper case.
std::string modeOf(std::string_view mode, std::string_view submode);

// Seconds from 1970-01-01 of a date YYYYMMDD and a time HHMM or HHMMSS; none
// when either is not such.
std::optional<long long> startSeconds(std::string_view date, std::string_view time);

// The fields a contact's identity is read from, as the table numbers them.
class ContactFields {
public:
    explicit ContactFields(const FieldTable& table);

    // Call, band and mode, letter case ignored, in one text appended to `key`.
    void appendGroup(const Record& record, std::string& key) const;
    std::optional<long long> start(const Record& record) const;
    // Its QSO_DATE and TIME_ON, typed or not.
    std::pair<std::string_view, std::string_view> dateAndTime(const Record& record) const;
    // QSO_DATE and TIME_ON, typed or not: the fields a window pair takes from its open record.
    bool isDateOrTime(int field) const;
    ModeFields modeFields(const Record& record) const;
    // The columns a change is listed under.
    ChangedContact columnsOf(const Record& record) const;

private:
    std::string_view firstOf(const Record& record, const std::vector<int>& fields) const;

    std::vector<int> calls_;
    std::vector<int> bands_;
    std::vector<int> frequencies_;
    std::vector<int> modes_;
    std::vector<int> submodes_;
    std::vector<int> dates_;
    std::vector<int> times_;
};

}  // namespace logweave
