#include "logweave/merge_added_log.h"

namespace logweave {

void WriteMergedRecord(Session& session, std::string& out, OutputNames& names, int openRecord)
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
                store.ConflictField = field;
                store.ConflictRecord = openRecord;
                store.ChosenValue = session.ui.settleConflict(store);
                writeField(out, names[field], store.ChosenValue);
            }
            ++i;
            ++j;
        }
    }
}

}  // namespace logweave
