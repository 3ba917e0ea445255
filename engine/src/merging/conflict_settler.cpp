#include "merging/conflict_settler.h"

#include "logweave/pane_texts.h"
#include "logweave/outcome.h"
#include "merging/contact_identity.h"
#include "writing/write_record.h"

namespace logweave {

ConflictSettler::ConflictSettler(UserInterface& ui, const FieldTable& fields, const StandardFields& standard,
                                 bool upperCase, std::string openLogPath, std::string addedLogPath)
    : ui_(ui), fields_(fields), upperCase_(upperCase), openLogPath_(std::move(openLogPath)),
      addedLogPath_(std::move(addedLogPath))
{
    const StandardFields& idx = standard;
    rows_ = {idx.qsoDate, idx.timeOn,  idx.band,  idx.call,
             idx.mode,     idx.operatorCall, idx.notes, idx.comment};
    // A field the log lacks has index 0, whose name is empty.
    for (std::size_t k = 0; k < kConflictRows; ++k)
        captions_[k] = outputFieldName(fields_, rows_[k], upperCase);
}

Conflict ConflictSettler::conflictOf(int field, long long openRecord, const Record& open, const Record& added) const
{
    Conflict conflict;
    conflict.fieldIndex = field;
    conflict.openRecord = openRecord;
    conflict.open = open.value(field);
    conflict.added = added.value(field);
    for (std::size_t k = 0; k < kConflictRows; ++k)
        conflict.contact[k] = {captions_[k], added.value(rows_[k])};
    // The added record may write its date typed where the open log does not, or the other way round.
    const auto [date, time] = ContactFields(fields_).dateAndTime(added);
    conflict.contact[0].value = date;
    conflict.contact[1].value = time;
    conflict.openLogPath = openLogPath_;
    conflict.addedLogPath = addedLogPath_;
    return conflict;
}

std::string ConflictSettler::settle(int field, long long openRecord, const Record& open, const Record& added)
{
    if (const auto same = sameChoice_.find(field); same != sameChoice_.end()) {
        ++settledSo_[field];
        return sideValue(same->second, open.value(field), added.value(field));
    }
    const std::string name = outputFieldName(fields_, field, upperCase_);
    Conflict conflict = conflictOf(field, openRecord, open, added);
    conflict.field = name;
    Settlement settlement = ui_.settleConflict(conflict);
    if (settlement.cancelMerge)
        throw OperationStopped(pane::mergeCancelled());
    if (settlement.sameChoiceUntilTheEnd)
        sameChoice_[field] = *settlement.sameChoiceUntilTheEnd;
    return std::move(settlement.chosenValue);
}

void ConflictSettler::report() const
{
    if (settledSo_.empty())
        return;
    std::vector<std::pair<std::string, long long>> settled;
    for (const auto& [field, count] : settledSo_)
        settled.emplace_back(outputFieldName(fields_, field, upperCase_), count);
    ui_.appendToPane(pane::sameChoices(settled));
}

}  // namespace logweave
