#include "merging/conflict_settler.h"

#include "logweave/pane_texts.h"
#include "logweave/write_record.h"

namespace logweave {

ConflictSettler::ConflictSettler(Session& session, bool upperCase) : session_(session), upperCase_(upperCase)
{
    const StandardFields& idx = session.store.standard;
    rows_ = {idx.qsoDate, idx.timeOn,  idx.band,  idx.call,
             idx.mode,     idx.operatorCall, idx.notes, idx.comment};
    // A field the log lacks has index 0, whose name is empty.
    for (std::size_t k = 0; k < kConflictRows; ++k)
        captions_[k] = outputFieldName(session.store.fields, rows_[k], upperCase);
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
    conflict.openLogPath = session_.store.OpenLogPath;
    conflict.addedLogPath = session_.store.AddedLogPath;
    return conflict;
}

std::string ConflictSettler::settle(int field, long long openRecord, const Record& open, const Record& added)
{
    if (const auto same = sameChoice_.find(field); same != sameChoice_.end()) {
        ++settledSo_[field];
        return sideValue(same->second, open.value(field), added.value(field));
    }
    const std::string name = outputFieldName(session_.store.fields, field, upperCase_);
    Conflict conflict = conflictOf(field, openRecord, open, added);
    conflict.field = name;
    Settlement settlement = session_.ui.settleConflict(conflict);
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
        settled.emplace_back(outputFieldName(session_.store.fields, field, upperCase_), count);
    session_.ui.appendToPane(pane::sameChoices(settled));
}

}  // namespace logweave
