#include "writing/field_order.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"

#include <string>
#include <vector>

namespace logweave {
namespace {

// One name a line, upper-cased; "'" starts a comment; the first empty line ends the list.
std::vector<std::string> parseFieldOrder(std::string_view text)
{
    std::vector<std::string> names;
    forEachLine(text, [&names](std::string_view line) {
        if (!line.empty() && line.front() == '\'')
            return true;
        if (line.empty())
            return false;
        names.push_back(upperCased(line));
        return true;
    });
    return names;
}

}  // namespace

std::optional<FieldTable> loadFieldOrder(const Session& session, std::string_view path)
{
    Bytes text;
    try {
        text = session.files.readFile(pathFromBytes(path));
    } catch (const FileError& error) {
        session.ui.appendToPane(pane::fieldOrderUnreadable(path, error));
        return std::nullopt;
    }
    FieldTable fields;
    fields.seed(parseFieldOrder(text.view()));
    session.ui.appendToPane(pane::fieldOrder(path));
    return fields;
}

}  // namespace logweave
