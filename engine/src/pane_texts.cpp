#include "logweave/pane_texts.h"

#include "logweave/text.h"

namespace logweave::pane {

std::string paragraph(std::string_view text)
{
    std::string out(text);
    out += "\r\n\r\n";
    return out;
}

std::string fileError(const FileError& error)
{
    std::string_view what;
    switch (error.action()) {
    case FileError::Action::Read:
        what = "Impossible de lire le fichier [Cannot read the file] : ";
        break;
    case FileError::Action::Write:
        what = "Impossible d'écrire le fichier [Cannot write the file] : ";
        break;
    case FileError::Action::Replace:
        what = "Impossible de remplacer le fichier [Cannot replace the file] : ";
        break;
    case FileError::Action::Backup:
        what = "Impossible de sauvegarder le fichier [Cannot back up the file] : ";
        break;
    }
    std::string out(what);
    out += displayText(bytesFromPath(error.path()));
    out += " (";
    out += displayText(error.reason());
    out += ")";
    return paragraph(out);
}

std::string fieldLimit(std::string_view name)
{
    return paragraph("Plus de 200 noms de champs, opération arrêtée au champ "
                     "[More than 200 field names, operation stopped at the field] : "
                     + displayText(name));
}

std::string recordLimit()
{
    return paragraph("Plus de 20000 enregistrements, opération arrêtée "
                     "[More than 20000 records, operation stopped]");
}

std::string recordCutShort(int record, std::string_view identification)
{
    std::string out = "Enregistrement" + signedCount(record)
        + " complété : le fichier se termine avant sa fin d'enregistrement "
          "[Record" + signedCount(record)
        + " completed: the file ends before its end-of-record tag]";
    if (!identification.empty())
        out += " : " + displayText(identification);
    return paragraph(out);
}

std::string textNotRead(std::string_view excerpt)
{
    return paragraph("Texte non lu après le dernier enregistrement "
                     "[Text after the last record not read] : "
                     + displayText(excerpt));
}

std::string sameChoices(const std::vector<std::pair<std::string, long long>>& settled)
{
    std::string list;
    for (const auto& [field, count] : settled)
        list += (list.empty() ? "" : ", ") + displayText(field) + signedCount(count);
    return paragraph("Conflits réglés par le même choix, sans question : " + list
                     + " [Conflicts settled by the same choice, without a question: " + list + "]");
}

}  // namespace logweave::pane
