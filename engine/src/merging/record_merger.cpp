#include "merging/record_merger.h"

namespace logweave {

RecordMerger::RecordMerger(const FieldTable& fields, ConflictSettler& settler, std::function<bool(int)> openOnly)
    : fields_(fields), settler_(settler), contact_(fields), openOnly_(std::move(openOnly))
{
}

ValueKind RecordMerger::kindOf(int field)
{
    const auto f = static_cast<std::size_t>(field);
    if (kinds_.size() <= f)
        kinds_.resize(f + 1);
    if (!kinds_[f])
        kinds_[f] = valueKindOf(fields_.name(field));
    return *kinds_[f];
}

void RecordMerger::merge(const Record& open, const Record& added, long long openRecord, MergedFields& merged)
{
    merged.clear();
    modes_ = {contact_.modeFields(open), contact_.modeFields(added)};
    const auto o = open.values();
    const auto a = added.values();
    // Both lists are sorted by field: one walk gives field-table order.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < o.size() || j < a.size()) {
        if (j == a.size() || (i < o.size() && o[i].field < a[j].field)) {
            const int field = static_cast<int>(o[i].field);
            if (!openOnly(field))
                takeOneSide(field, open.valueOf(o[i]), {}, merged);
            else
                merged.fields.push_back({field, open.valueOf(o[i])});
            ++i;
        } else if (i == o.size() || a[j].field < o[i].field) {
            const int field = static_cast<int>(a[j].field);
            if (!openOnly(field))
                takeOneSide(field, {}, added.valueOf(a[j]), merged);
            ++j;
        } else {
            const int field = static_cast<int>(o[i].field);
            mergeBoth(field, open, added, open.valueOf(o[i]), added.valueOf(a[j]), openRecord, merged);
            ++i;
            ++j;
        }
    }
}

// A field one record holds is written as it stands; it is a change unless it
// is a submode the other record's mode already says.
void RecordMerger::takeOneSide(int field, std::string_view openValue, std::string_view addedValue, MergedFields& merged)
{
    const std::string_view value = openValue.empty() ? addedValue : openValue;
    merged.fields.push_back({field, value});
    const ValueKind kind = kindOf(field);
    if ((kind == ValueKind::Mode || kind == ValueKind::Submode) && modesAgree(modes_))
        return;
    merged.changes.push_back({field, openValue, addedValue, value});
}

void RecordMerger::mergeBoth(int field, const Record& open, const Record& added, std::string_view openValue,
                             std::string_view addedValue, long long openRecord, MergedFields& merged)
{
    if (openValue == addedValue || openOnly(field)) {
        merged.fields.push_back({field, openValue});
        return;
    }
    switch (compareValues(kindOf(field), openValue, addedValue, modes_)) {
    case Agreement::Identical:
    case Agreement::KeepOpen:
        merged.fields.push_back({field, openValue});
        return;
    case Agreement::KeepAdded:
        merged.fields.push_back({field, addedValue});
        merged.changes.push_back({field, openValue, addedValue, addedValue});
        return;
    case Agreement::Differ:
        break;
    }
    merged.chosen.push_back(settler_.settle(field, openRecord, open, added));
    merged.fields.push_back({field, merged.chosen.back()});
    merged.changes.push_back({field, openValue, addedValue, merged.chosen.back()});
}

}  // namespace logweave
