#pragma once
// A reader of RFC 4180 text that knows nothing of the program's writer, to
// read its changes file back in the tests.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace logweave::testing {

using Row = std::vector<std::string>;

// Rows ended by CR LF; a quoted field may hold anything, its quotes doubled.
// None when the text breaks the form: a bare CR or LF, a stray quote, a last row without its end.
inline std::optional<std::vector<Row>> readCsv(std::string_view text)
{
    std::vector<Row> rows;
    Row row;
    std::string field;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '"') {
            for (++pos;; ++pos) {
                if (pos == text.size())
                    return std::nullopt;
                if (text[pos] == '"' && (pos + 1 == text.size() || text[pos + 1] != '"'))
                    break;
                if (text[pos] == '"')
                    ++pos;
                field.push_back(text[pos]);
            }
            ++pos;
        } else {
            while (pos < text.size() && std::string_view(",\"\r\n").find(text[pos]) == std::string_view::npos)
                field.push_back(text[pos++]);
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

}  // namespace logweave::testing
