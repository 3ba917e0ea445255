#pragma once
// Settles the conflicts of one merge: asks the user, unless a same choice for
// the field holds until the end of the merge, and counts those so settled.

#include "logweave/conflict.h"
#include "logweave/session.h"

#include <array>
#include <map>
#include <string>

namespace logweave {

class ConflictSettler {
public:
    ConflictSettler(Session& session, bool upperCase);

    // The value to record for `field`, whose values differ in the open record
    // number `openRecord` and the added record.
    std::string settle(int field, long long openRecord, const Record& open, const Record& added);

    // Says in the pane how many conflicts a same choice settled, field by field.
    void report() const;

private:
    Conflict conflictOf(int field, long long openRecord, const Record& open, const Record& added) const;

    Session& session_;
    bool upperCase_;
    std::array<int, kConflictRows> rows_;
    std::array<std::string, kConflictRows> captions_;
    std::map<int, ConflictSide> sameChoice_;
    std::map<int, long long> settledSo_;
};

}  // namespace logweave
