#pragma once
// The field table: which field names the log uses and under which index.
// Index order is the order in which names entered; an index never changes.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace logweave {

class FieldTable {
public:
    // Index of the first entry equal to `name` letter case ignored; 0 when none.
    int indexOf(std::string_view name) const;

    // Enters a name that indexOf does not find. The sorted listing receives
    // it as passed, the table upper-cased.
    void add(std::string_view name);

    // indexOf, then add when the name is new: the callers' idiom.
    int findOrAdd(std::string_view name);

    // Replaces the table by a field order list (names already upper-cased).
    void seed(const std::vector<std::string>& names);

    int count() const noexcept { return static_cast<int>(names_.size()) - 1; }
    const std::string& name(int index) const { return names_.at(static_cast<std::size_t>(index)); }
    // Every name in the sorted listing's order, valid until the next change.
    std::vector<std::string_view> sortedNames() const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    void index(int position);
    void enterListing(std::string name);

    std::vector<std::string> names_{std::string{}};   // slot 0 never used
    // The sorted listing, cut before each entry greater than all before it:
    // such an entry to those after it, up to the next such one.
    std::map<std::string, std::vector<std::string>, std::less<>> listing_;
    // Upper-cased name to its first index: indexOf without a scan.
    std::unordered_map<std::string, int, Hash, std::equal_to<>> lookup_;
};

}  // namespace logweave
