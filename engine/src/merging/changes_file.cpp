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

}  // namespace logweave
