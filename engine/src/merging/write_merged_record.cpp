#include "merging/write_merged_record.h"

namespace logweave {

void mergeRecords(const Record& open, const Record& added, long long openRecord, ConflictSettler& settler,
                       MergedFields& merged, const OpenOnly& openOnly)
{
    merged.clear();
    const auto o = open.values();
    const auto a = added.values();
    // Both lists are sorted by field: one walk gives field-table order.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < o.size() || j < a.size()) {
        if (j == a.size() || (i < o.size() && o[i].field < a[j].field)) {
            merged.fields.push_back({static_cast<int>(o[i].field), open.valueOf(o[i])});
            ++i;
            continue;
        }
        if (i == o.size() || a[j].field < o[i].field) {
            if (!openOnly || !openOnly(static_cast<int>(a[j].field)))
                merged.fields.push_back({static_cast<int>(a[j].field), added.valueOf(a[j])});
            ++j;
            continue;
        }
        const int field = static_cast<int>(o[i].field);
        const std::string_view openValue = open.valueOf(o[i]);
        if (openValue == added.valueOf(a[j]) || (openOnly && openOnly(field))) {
            merged.fields.push_back({field, openValue});
        } else {
            merged.chosen.push_back(settler.settle(field, openRecord, open, added));
            merged.fields.push_back({field, merged.chosen.back()});
        }
        ++i;
        ++j;
    }
}

}  // namespace logweave
