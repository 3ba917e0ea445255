#include "logweave/change_list.h"

#include <algorithm>
#include <utility>

namespace logweave {

std::optional<std::vector<ChangeRow>> readChangeList(std::string_view text)
{
    std::vector<ChangeRow> rows;
    ChangeRow row;
    std::string field;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == '"') {
            // A quoted field runs to the quote that no second one follows.
            for (++pos;; ++pos) {
                if (pos == text.size())
                    return std::nullopt;
                if (text[pos] == '"' && text.substr(pos + 1, 1) != "\"")
                    break;
                if (text[pos] == '"')
                    ++pos;
                field.push_back(text[pos]);
            }
            ++pos;
        } else {
            const std::size_t end = std::min(text.find_first_of(",\"\r\n", pos), text.size());
            field.append(text.substr(pos, end - pos));
            pos = end;
        }
        row.push_back(std::exchange(field, {}));
        if (text.substr(pos, 1) == ",") {
            ++pos;
        } else if (text.substr(pos, 2) == "\r\n") {
            rows.push_back(std::exchange(row, {}));
            pos += 2;
        } else {
            return std::nullopt;
        }
    }
    if (!row.empty())
        return std::nullopt;
    return rows;
}

}  // namespace logweave
