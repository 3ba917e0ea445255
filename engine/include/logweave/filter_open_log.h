#pragma once

#include "logweave/outcome.h"
#include "logweave/session.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

inline constexpr int kMaxFilterTerms = 16;

struct FilterTerm {
    int field;          // 0 when the table has no such field
    std::string value;  // upper case
    // The same value in Windows-1252, for logs whose values are in it: what
    // the user sees of such a value is what he types.
    std::optional<std::string> legacy;
};

// "BAND:6M;MODE:FT8" read as terms, letter case ignored. A term without ":" or
// a seventeenth term is refused: the result is then empty and `refusal` says why.
std::vector<FilterTerm> parseFilter(const FieldTable& fields, std::string_view expression, std::string& refusal);

// Splits the open log: the records that match every term go to
// "Adif_Filtre2.adi", the others to "Adif_Filtre1.adi". The store is only read.
Outcome FilterOpenLog(Session& session, std::string_view expression);

}  // namespace logweave
