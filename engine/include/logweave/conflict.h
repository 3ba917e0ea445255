#pragma once
// The hand-over between the merge and whoever settles a conflict: two
// records of one contact hold different values for one field.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace logweave {

// A row of the contact as the dialog shows it: a field's name as written and
// the added record's value.
struct ConflictRow {
    std::string_view caption;
    std::string_view value;
};

// QSO_DATE, TIME_ON, BAND, CALL, MODE, OPERATOR, NOTES and COMMENT.
inline constexpr std::size_t kConflictRows = 8;

// Views into the logs, valid while the conflict is being settled.
struct Conflict {
    int fieldIndex = 0;         // field-table index
    long long openRecord = 0;  // number of the open record
    std::string_view field;        // its name as written
    std::string_view open;
    std::string_view added;
    std::array<ConflictRow, kConflictRows> contact{};
    std::string_view openLogPath;
    std::string_view addedLogPath;
};

// Where a value to record comes from, when it is not typed.
enum class ConflictSide { Open, Added, Both };

// The open value, the added value, or both joined by a blank.
std::string sideValue(ConflictSide side, std::string_view open, std::string_view added);

struct Settlement {
    std::string chosenValue;  // bytes
    // Set: every later conflict of this field in this merge takes this side without asking.
    std::optional<ConflictSide> sameChoiceUntilTheEnd;
    // The user stops the whole merge: nothing is written, the open log stays as it was.
    bool cancelMerge = false;
};

}  // namespace logweave
