#include "merging/changes_file.h"

#include "logweave/text.h"

#include <algorithm>
#include <string>
#include <utility>

namespace logweave {
namespace {

// Values go out as their bytes; only a comma, a quote or a line break makes a
// field quoted, its quotes doubled.
void appendField(std::string& out, std::string_view value)
{
    out.push_back(',');
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(value);
        return;
    }
    out.push_back('"');
    for (const char c : value) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

}  // namespace

ChangesFile::ChangesFile(FileWriter& file) : text_(file)
{
    text_.text().append("change,qso_date,time_on,call,band,mode,field,open_value,added_value,kept_value");
    endRow();
}

void ChangesFile::added(const ChangedContact& contact)
{
    startRow("added", contact);
    text_.text().append(",,,,");
    endRow();
}

void ChangesFile::differs(const ChangedContact& contact, std::string_view field, std::string_view openValue,
                          std::string_view addedValue, std::string_view keptValue)
{
    startRow("differs", contact);
    for (const std::string_view value : {field, openValue, addedValue, keptValue})
        appendField(text_.text(), value);
    endRow();
}

void ChangesFile::finish()
{
    text_.finish();
}

void ChangesFile::startRow(std::string_view change, const ChangedContact& contact)
{
    std::string& out = text_.text();
    out.append(change);
    for (const std::string_view value : {contact.qsoDate, contact.timeOn, contact.call, contact.band, contact.mode})
        appendField(out, value);
}

void ChangesFile::endRow()
{
    text_.text().append(kCrLf);
    text_.recordDone();
}

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
