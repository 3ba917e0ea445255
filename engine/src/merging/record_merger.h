#pragma once
// A record of the open log and a record of the added log of one contact
// merged into one: a question only where their values really differ.

#include "merging/conflict_settler.h"
#include "merging/contact_identity.h"
#include "merging/value_meaning.h"
#include "logweave/record.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace logweave {

// A field on which the merged record is not simply the open record: the two
// records differ on it, or only one holds it. An empty value is a field its
// record lacks.
struct FieldChange {
    int field;
    std::string_view open;
    std::string_view added;
    std::string_view kept;
};

// A merged record's fields, the values chosen in conflicts, and what changed.
// Its fields and changes point into its own chosen values, so it moves (a
// deque's elements stay where they are) but is never copied.
struct MergedFields {
    MergedFields() = default;
    MergedFields(const MergedFields&) = delete;
    MergedFields& operator=(const MergedFields&) = delete;
    MergedFields(MergedFields&&) = default;
    MergedFields& operator=(MergedFields&&) = default;

    std::vector<FieldText> fields;
    std::deque<std::string> chosen;
    // None: the two records mean the same, and the open record stands for both.
    std::vector<FieldChange> changes;
    void clear()
    {
        fields.clear();
        chosen.clear();
        changes.clear();
    }
};

class RecordMerger {
public:
    // Fields `openOnly` names take the open record's value, or none, without
    // a question and without a change: the window rule's date and time.
    RecordMerger(const FieldTable& fields, ConflictSettler& settler, std::function<bool(int)> openOnly = {});

    // The fields of `open` (number `openRecord` of the open log) and `added`
    // in field-table order: a value only one of them holds; the open one
    // where both mean the same (the longer of two grid squares); else the
    // one the settler gives.
    void merge(const Record& open, const Record& added, long long openRecord, MergedFields& merged);

private:
    ValueKind kindOf(int field);
    bool openOnly(int field) const { return openOnly_ && openOnly_(field); }
    void mergeBoth(int field, const Record& open, const Record& added, std::string_view openValue,
                   std::string_view addedValue, long long openRecord, MergedFields& merged);
    void takeOneSide(int field, std::string_view openValue, std::string_view addedValue, MergedFields& merged);

    const FieldTable& fields_;
    ConflictSettler& settler_;
    ContactFields contact_;
    std::function<bool(int)> openOnly_;
    std::vector<std::optional<ValueKind>> kinds_;  // by field, found on first use
    PairModes modes_;
};

}  // namespace logweave
