#include "logweave/field_table.h"

#include "logweave/text.h"

#include <algorithm>

namespace logweave {

int FieldTable::indexOf(std::string_view name) const
{
    // Names are stored upper-cased, so an upper-cased key finds the first match.
    std::string key = upperCased(name);
    const auto it = lookup_.find(key);
    return it == lookup_.end() ? 0 : it->second;
}

void FieldTable::add(std::string_view name)
{
    // The listing is insertion-ordered: a name goes before the first greater
    // entry, wherever a seeded list put that entry.
    const auto place = std::find_if(sorted_.begin() + 1, sorted_.end(),
                                    [name](const std::string& s) { return s > name; });
    sorted_.insert(place, std::string(name));
    names_.push_back(upperCased(name));
    index(count());
}

int FieldTable::findOrAdd(std::string_view name)
{
    if (const int found = indexOf(name); found != 0)
        return found;
    add(name);
    return count();
}

void FieldTable::seed(const std::vector<std::string>& names)
{
    names_.assign(1, std::string{});
    sorted_.assign(1, std::string{});
    lookup_.clear();
    for (const auto& name : names) {
        names_.push_back(name);
        sorted_.push_back(name);
        index(count());
    }
}

void FieldTable::index(int position)
{
    // emplace keeps an earlier entry: a list that names a field twice finds the first.
    lookup_.emplace(names_[static_cast<std::size_t>(position)], position);
}

}  // namespace logweave
