#pragma once
// "Logweave_Changes.csv", the list of what the last merge did, as rows: the
// header row first, then a row a change, each field as its bytes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

inline constexpr std::string_view kChangesFileName = "Logweave_Changes.csv";

using ChangeRow = std::vector<std::string>;

// The rows of such a list; nullopt for a text that is none: a bare line
// break, a stray quote, a last row without its end.
std::optional<std::vector<ChangeRow>> readChangeList(std::string_view text);

}  // namespace logweave
