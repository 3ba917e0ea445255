#pragma once
// The filter's expression: FIELD:VALUE terms parted by ";".

#include "logweave/field_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace logweave {

struct FilterTerm {
    int field;          // 0 when the table has no such field
    std::string value;  // upper case
    // The same value in Windows-1252, for logs whose values are in it: what
    // the user sees of such a value is what he types.
    std::optional<std::string> legacy;
};

// A term without ":", quoted as the user typed it, upper-cased.
struct TermWithoutColon {
    std::string term;
};

// "BAND:6M;MODE:FT8" read as terms, letter case ignored; the empty expression
// has no term. A term without ":" refuses the whole expression.
std::variant<std::vector<FilterTerm>, TermWithoutColon> parseFilter(const FieldTable& fields,
                                                                    std::string_view expression);

}  // namespace logweave
