#pragma once
// Field names as a log's tags write them, resolved to field-table indices:
// a log writes the same few names again and again, so each spelling is
// looked up in the table once.

#include "logweave/field_table.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace logweave {

class FieldNamer {
public:
    // What a field's name means for reading a log.
    enum class Kind : std::uint8_t { Other, Call, Date, Time, EndOfHeader };

    explicit FieldNamer(FieldTable& table) : table_(table) {}

    // The field of a tag written `name` and `type` (":D" or empty), entered
    // into the table when new. The views must live as long as the namer.
    std::uint32_t fieldOf(std::string_view name, std::string_view type)
    {
        const auto known = spellings_.find({name, type});
        return known != spellings_.end() ? known->second : remember(name, type);
    }
    Kind kindOf(std::uint32_t field) const noexcept { return field < kinds_.size() ? kinds_[field] : Kind::Other; }

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

    FieldTable& table_;
    std::unordered_map<Spelling, std::uint32_t, SpellingHash> spellings_;
    std::vector<Kind> kinds_;
};

}  // namespace logweave
