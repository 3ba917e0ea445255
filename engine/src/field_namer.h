#pragma once
// Field names as a log's tags write them, resolved to field-table indices.
// A name the table lacks waits under an index of its own, above the table's,
// until the log's order is known: new names enter the table in the order in
// which the log, sorted, first uses them.

#include "logweave/field_table.h"
#include "logweave/log.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace logweave {

class FieldNamer {
public:
    // What a field's name means for the order of a log and for its header.
    enum class Kind : std::uint8_t { Other, Call, Date, Time, EndOfHeader };

    explicit FieldNamer(const FieldTable& table);

    // The field of a tag written `name` and `type` (":D" or empty). The views
    // must live as long as the namer: they are pieces of the log's text.
    std::uint32_t fieldOf(std::string_view name, std::string_view type)
    {
        const auto known = spellings_.find({name, type});
        const std::uint32_t field = known != spellings_.end() ? known->second : remember(name, type);
        if (field >= firstWaiting_ && !inRecord_[field])
            noted_.push_back(field);
        return field;
    }
    Kind kindOf(std::uint32_t field) const noexcept { return kinds_[field]; }
    // A call, date or time: what makes fields cut short by the end of a file a contact.
    bool identifies(std::uint32_t field) const noexcept
    {
        return kinds_[field] == Kind::Call || kinds_[field] == Kind::Date || kinds_[field] == Kind::Time;
    }

    // The tags named since the last call belong to a record, or to text left unread.
    void recordKept();
    void recordDropped() noexcept { noted_.clear(); }

    // Enters the waiting names into `table` in the order in which `log` first
    // uses them, then those of the unread `tail`, and gives the log's values
    // their table indices.
    void enterWaiting(Log& log, std::string_view tail, FieldTable& table);

private:
    struct Spelling {
        std::string_view name;
        std::string_view type;
        bool operator==(const Spelling&) const = default;
    };
    struct SpellingHash {
        std::size_t operator()(const Spelling& s) const noexcept;
    };
    std::uint32_t remember(std::string_view name, std::string_view type);
    std::uint32_t lookUp(std::string_view name, std::string_view type);
    void noteKind(std::uint32_t field, std::string_view name);
    // Enters the waiting names that `text`'s tags use; false once none is left.
    bool enterFrom(std::string_view text, FieldTable& table, std::vector<std::uint32_t>& renumber, std::size_t& left);

    const FieldTable& table_;
    std::uint32_t firstWaiting_;
    std::unordered_map<Spelling, std::uint32_t, SpellingHash> spellings_;
    std::unordered_map<std::string, std::uint32_t> waiting_;  // upper-cased name and type
    std::vector<Kind> kinds_;
    std::vector<char> inRecord_;  // a waiting field that some record's tag names
    std::size_t inRecordCount_ = 0;
    std::vector<std::uint32_t> noted_;
};

}  // namespace logweave
