#include "logweave/pane_texts.h"

#include "logweave/merge_counts.h"
#include "logweave/file_system.h"
#include "logweave/text.h"

namespace logweave::pane {
namespace {

std::string reason(const FileError& error)
{
    return displayText(error.code().message());
}

std::string_view doing(FileError::Action action)
{
    switch (action) {
    case FileError::Action::Read:
        return "Impossible de lire le fichier [Cannot read the file] : ";
    case FileError::Action::Write:
        return "Impossible d'écrire le fichier [Cannot write the file] : ";
    case FileError::Action::Replace:
        return "Impossible de remplacer le fichier [Cannot replace the file] : ";
    case FileError::Action::Backup:
        return "Impossible de sauvegarder le fichier [Cannot back up the file] : ";
    case FileError::Action::Remove:
        break;
    }
    return "Impossible de supprimer le fichier [Cannot remove the file] : ";
}

std::string banner(std::string_view text)
{
    return "* * *  " + std::string(text) + "   * * *\r\n\r\n";
}

}  // namespace

std::string paragraph(std::string_view text)
{
    return std::string(text) + "\r\n\r\n";
}

std::string fileRead(std::string_view path)
{
    return banner("Lecture du fichier [File read]: " + displayText(path));
}

std::string header(std::string_view header)
{
    return paragraph(displayText(header));
}

std::string recordsProcessed(long long count)
{
    return signedCount(count) + " enregistrements traitées [records processed] \r\n\r\n";
}

std::string outOfOrder(long long record)
{
    return paragraph("Enregistrement" + signedCount(record)
                     + " hors de l'ordre des dates et heures, le log est pris tel quel [Record" + signedCount(record)
                     + " out of date and time order, the log is taken as it is]");
}

std::string recordCutShort(long long record, std::string_view identification)
{
    std::string out = "Enregistrement" + signedCount(record)
        + " complété : le fichier se termine avant sa fin d'enregistrement [Record" + signedCount(record)
        + " completed: the file ends before its end-of-record tag]";
    if (!identification.empty())
        out += " : " + displayText(identification);
    return paragraph(out);
}

std::string textNotRead(std::string_view excerpt)
{
    return paragraph("Texte non lu après le dernier enregistrement [Text after the last record not read] : "
                     + displayText(excerpt));
}

std::string fieldOrder(std::string_view path)
{
    return paragraph("L'ordre des champs des fichier de sortie sera celui du fichier :\r\n"
                     "[The order of the fields in the output files will be that of the file:]\r\n"
                     + displayText(path));
}

std::string fieldOrderUnreadable(std::string_view path, const FileError& error)
{
    return paragraph("Liste d'ordre des champs illisible, aucun ordre n'est chargé "
                     "[Field order list unreadable, no order is loaded] : "
                     + displayText(path) + " (" + reason(error) + ")");
}

std::string fileAdded(std::string_view path)
{
    return banner("Ajout du fichier [File added] : " + displayText(path));
}

std::string mergeCounts(const MergeCounts& c)
{
    return signedCount(c.processed) + " enregistrements traitées [records processed].\r\n" + signedCount(c.added)
        + " enregistrements ajoutés [records added], \r\n" + signedCount(c.identical)
        + " enregistrements identiques et [identical records and]\r\n" + signedCount(c.different)
        + " enregistrements différents [different records].\r\n\r\n";
}

std::string sameChoices(const std::vector<std::pair<std::string, long long>>& settled)
{
    std::string list;
    for (const auto& [field, count] : settled)
        list += (list.empty() ? "" : ", ") + displayText(field) + signedCount(count);
    return paragraph("Conflits réglés par le même choix, sans question : " + list
                     + " [Conflicts settled by the same choice, without a question: " + list + "]");
}

std::string mergedLogNotRead(std::string_view path)
{
    return paragraph("Le log fusionné est écrit mais n'a pas pu être relu : aucun log n'est ouvert "
                     "[The merged log is written but could not be read back: no log is open] : "
                     + displayText(path));
}

std::string mergeCancelled()
{
    return paragraph("Fusion annulée [Merge cancelled]");
}

std::string cancelled()
{
    return paragraph("Annulé [Cancelled]");
}

std::string_view phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Reading: return "Lecture [Reading]";
    case Phase::Sorting: return "Tri [Sorting]";
    case Phase::Merging: return "Fusion [Merging]";
    case Phase::Filtering: return "Filtrage [Filtering]";
    case Phase::Writing: return "Écriture [Writing]";
    }
    return "";
}

std::string changesWritten(std::string_view path, long long added, long long changedValues)
{
    return paragraph("Les changements sont listés dans [The changes are listed in] : " + displayText(path) + "\r\n"
                     + std::to_string(added) + " contacts ajoutés, " + std::to_string(changedValues)
                     + " valeurs changées [" + std::to_string(added) + " contacts added, "
                     + std::to_string(changedValues) + " values changed]");
}

std::string filterFiles()
{
    return banner("Création des fichiers [Creation of the files] : Adif_FiltreX.adi");
}

std::string recordsKept(long long count)
{
    return signedCount(count) + " enregistrements conservés dans 1 [records kept in 1].\r\n\r\n";
}

std::string filterRefused(std::string_view term)
{
    const std::string shown = displayText(term);
    return paragraph("Filtre refusé, le terme \"" + shown + "\" n'a pas de \":\" [Filter refused, the term \"" + shown
                     + "\" has no \":\"]");
}

std::string automationSaved(std::string_view path)
{
    return paragraph("Mise à jour WSJT-X sauvegardée pour chaque démarrage [WSJT-X update saved for every start] : "
                     + displayText(path));
}

std::string updateInputMissing(std::string_view path)
{
    return paragraph("Fichier introuvable, la mise à jour du log WSJT-X s'arrête avant de remplacer un fichier "
                     "[File not found, the WSJT-X log update stops before it replaces any file] : "
                     + displayText(path));
}

std::string backupKept(std::string_view backup)
{
    return paragraph("La sauvegarde existante est gardée telle quelle [The existing backup is kept as it is] : "
                     + displayText(backup));
}

std::string replaced(std::string_view toUpdate, std::string_view textLog)
{
    return displayText(toUpdate) + "   et [and]\r\n" + displayText(textLog) + "   remplacés [replaced]";
}

std::string notReplaced(const std::vector<std::string>& paths)
{
    std::string names;
    for (const auto& path : paths)
        names += (names.empty() ? "" : ", ") + displayText(path);
    return paragraph("Fichiers non remplacés [Files not replaced] : " + names);
}

std::string noCopyNothingReplaced(std::string_view log)
{
    return paragraph("Aucune copie du log WSJT-X n'a pu être faite : la mise à jour ne remplace rien "
                     "[No copy of the WSJT-X log could be made: the update replaces nothing] : "
                     + displayText(log));
}

std::string noCopyOfFileToMerge(std::string_view file)
{
    return paragraph("Aucune copie du fichier à fusionner n'a pu être faite : la mise à jour ne remplace rien "
                     "[No copy of the file to merge could be made: the update replaces nothing] : "
                     + displayText(file));
}

std::string changingDuringUpdate(const FileError& error)
{
    return paragraph("Ce fichier change pendant la mise à jour : elle ne remplace rien, la prochaine réessaiera "
                     "[This file is changing during the update: it replaces nothing, the next one will try again] : "
                     + displayText(bytesFromPath(error.path())) + " (" + reason(error) + ")");
}

std::string stillWritten(std::string_view copy)
{
    return paragraph("Un autre programme écrit encore dans le fichier remplacé, gardé sous ce nom : ce qu'il y écrit "
                     "n'est pas repris [Another program still writes into the file replaced, kept under this name: "
                     "what it writes there is not taken in] : "
                     + displayText(copy));
}

std::string takenIn(std::string_view file, long long contacts)
{
    return paragraph(std::to_string(contacts) + " contacts ajoutés pendant la mise à jour sont repris dans "
                     "[contacts added during the update are kept in] : " + displayText(file));
}

std::string fileToMergeReplaced(std::string_view file, std::string_view copy)
{
    return paragraph("Le fichier à fusionner est remplacé par le log fusionné, sa copie est gardée "
                     "[The file to merge is replaced by the merged log, its copy is kept] : "
                     + displayText(file) + "\r\n" + displayText(copy));
}

std::string backupsNotRemoved(std::string_view backup, const FileError& error)
{
    return paragraph("Ancienne sauvegarde non supprimée [Old backup not removed] : " + displayText(backup) + " ("
                     + reason(error) + ")");
}

std::string fileError(const FileError& error)
{
    return paragraph(std::string(doing(error.action())) + displayText(bytesFromPath(error.path())) + " ("
                     + reason(error) + ")");
}

std::string tooLargeForMemory(std::string_view path)
{
    return paragraph("Le log est trop grand pour la mémoire de cet ordinateur, l'opération s'arrête "
                     "[The log is too large for this computer's memory, the operation stops] : "
                     + displayText(path));
}

std::string recordTooLarge()
{
    return paragraph("Un enregistrement de plus de 4 Gio, l'opération s'arrête "
                     "[A record of more than 4 GiB, the operation stops]");
}

}  // namespace logweave::pane
