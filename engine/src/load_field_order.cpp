#include "logweave/load_field_order.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"

#include <string>
#include <vector>

namespace logweave {
namespace {

struct FieldOrderList {
    std::vector<std::string> names;
    bool truncated = false;
};

// One name a line, upper-cased; "'" starts a comment; the first empty line ends the list.
FieldOrderList parseFieldOrder(std::string_view text)
{
    FieldOrderList list;
    forEachLine(text, [&list](std::string_view line) {
        if (!line.empty() && line.front() == '\'')
            return true;
        if (line.empty())
            return false;
        if (list.names.size() == static_cast<std::size_t>(kMaxFields)) {
            list.truncated = true;
            return false;
        }
        list.names.push_back(upperCased(line));
        return true;
    });
    return list;
}

}  // namespace

bool LoadFieldOrder(Session& session, std::string_view path)
{
    std::string text;
    try {
        text = session.files.readFile(pathFromBytes(path));
    } catch (const FileError& error) {
        session.ui.appendToPane(pane::paragraph(
            "Liste d'ordre des champs illisible, aucun ordre n'est chargé "
            "[Field order list unreadable, no order is loaded] : "
            + displayText(path) + " (" + displayText(error.reason()) + ")"));
        return false;
    }
    const FieldOrderList list = parseFieldOrder(text);
    session.store.fields.seed(list.names);
    std::string notice = "L'ordre des champs des fichier de sortie sera celui du fichier :\r\n"
                         "[The order of the fields in the output files will be that of the file:]\r\n";
    notice += displayText(path);
    session.ui.appendToPane(pane::paragraph(notice));
    if (list.truncated)
        session.ui.appendToPane(pane::paragraph(
            "Liste d'ordre des champs : les noms après le 200e sont ignorés "
            "[Field order list: the names after the 200th are ignored] : " + displayText(path)));
    return true;
}

}  // namespace logweave
