#include "logweave/merge_added_log.h"

#include <array>

namespace logweave {
namespace {

Settlement askUser(Session& session, int field, int openRecord)
{
    const LogStore& store = session.store;
    const bool upper = session.ui.outputOptions().UpperCaseNames;
    const StandardFields& idx = store.standard;
    const std::array<int, kConflictRows> rows{idx.Idx_QSO_DATE, idx.Idx_TIME_ON,  idx.Idx_BAND,  idx.Idx_CALL,
                                              idx.Idx_MODE,     idx.Idx_OPERATOR, idx.Idx_NOTES, idx.Idx_COMMENT};
    std::array<std::string, kConflictRows> captions;
    Conflict conflict;
    const std::string name = OutputFieldName(store.fields, field, upper);
    conflict.ConflictField = field;
    conflict.ConflictRecord = openRecord;
    conflict.field = name;
    conflict.open = store.FieldValues(field, openRecord);
    conflict.added = store.FieldValues(field, 0);
    for (std::size_t k = 0; k < kConflictRows; ++k) {
        captions[k] = OutputFieldName(store.fields, rows[k], upper);
        conflict.contact[k] = {captions[k], store.FieldValues(rows[k], 0)};
    }
    conflict.openLogPath = store.OpenLogPath;
    conflict.addedLogPath = store.AddedLogPath;
    return session.ui.settleConflict(conflict);
}

std::string settle(Session& session, int field, int openRecord, SameChoices& same)
{
    const LogStore& store = session.store;
    if (const auto side = same.side.find(field); side != same.side.end()) {
        ++same.settled[field];
        return sideValue(side->second, store.FieldValues(field, openRecord), store.FieldValues(field, 0));
    }
    Settlement settlement = askUser(session, field, openRecord);
    if (settlement.sameChoiceUntilTheEnd)
        same.side[field] = *settlement.sameChoiceUntilTheEnd;
    return std::move(settlement.ChosenValue);
}

}  // namespace

void WriteMergedRecord(Session& session, std::string& out, OutputNames& names, int openRecord, SameChoices& same)
{
    LogStore& store = session.store;
    const Record& open = store.record(openRecord);
    const Record& added = store.record(0);
    const auto o = open.values();
    const auto a = added.values();
    // Both lists are sorted by field: one walk gives field-table order.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < o.size() || j < a.size()) {
        if (j == a.size() || (i < o.size() && o[i].field < a[j].field)) {
            writeField(out, names[o[i].field], open.valueOf(o[i]));
            ++i;
        } else if (i == o.size() || a[j].field < o[i].field) {
            writeField(out, names[a[j].field], added.valueOf(a[j]));
            ++j;
        } else {
            const auto openValue = open.valueOf(o[i]);
            const int field = o[i].field;
            if (openValue == added.valueOf(a[j])) {
                writeField(out, names[field], openValue);
            } else {
                store.ChosenValue = settle(session, field, openRecord, same);
                writeField(out, names[field], store.ChosenValue);
            }
            ++i;
            ++j;
        }
    }
}

}  // namespace logweave
