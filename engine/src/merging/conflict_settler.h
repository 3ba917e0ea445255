#pragma once
// Settles the conflicts of one merge: asks the user, unless a same choice for
// the field holds until the end of the merge, and counts those so settled.

#include "logweave/conflict.h"
#include "logweave/field_table.h"
#include "logweave/record.h"
#include "logweave/standard_fields.h"
#include "logweave/user_interface.h"

#include <array>
#include <map>
#include <string>

namespace logweave {

class ConflictSettler {
public:
    // The conflicts of `fields`, whose standard ones are `standard`, between
    // the logs read from `openLogPath` and `addedLogPath`.
    ConflictSettler(UserInterface& ui, const FieldTable& fields, const StandardFields& standard, bool upperCase,
                    std::string openLogPath, std::string addedLogPath);

    // The value to record for `field`, whose values differ in the open record
    // number `openRecord` and the added record.
    std::string settle(int field, long long openRecord, const Record& open, const Record& added);

    // Says in the pane how many conflicts a same choice settled, field by field.
    void report() const;

private:
    Conflict conflictOf(int field, long long openRecord, const Record& open, const Record& added) const;

    UserInterface& ui_;
    const FieldTable& fields_;
    bool upperCase_;
    std::string openLogPath_;
    std::string addedLogPath_;
    std::array<int, kConflictRows> rows_;
    std::array<std::string, kConflictRows> captions_;
    std::map<int, ConflictSide> sameChoice_;
    std::map<int, long long> settledSo_;
};

}  // namespace logweave
