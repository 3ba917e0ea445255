#include "logweave/update_wsjtx_log.h"

#include "logweave/load_field_order.h"
#include "logweave/merge_added_log.h"
#include "logweave/pane_texts.h"
#include "logweave/read_open_log.h"
#include "logweave/text.h"

#include <vector>

namespace logweave {
namespace {

constexpr std::string_view kTextLogName = "Wsjtx.log";

bool inputsPresent(Session& session, const std::filesystem::path& fieldOrder)
{
    const LogStore& store = session.store;
    for (const auto& path : {fieldOrder, pathFromBytes(store.FicToUpdate), pathFromBytes(store.FicToMerge)}) {
        if (session.files.isRegularFile(path))
            continue;
        session.ui.appendToPane(pane::paragraph(
            "Fichier introuvable, la mise à jour du log WSJT-X s'arrête avant de remplacer un fichier "
            "[File not found, the WSJT-X log update stops before it replaces any file] : "
            + displayText(bytesFromPath(path))));
        return false;
    }
    return true;
}

// The text log beside the WSJT-X log: an existing one in any letter case, else a new "Wsjtx.log".
std::string textLogPath(Session& session)
{
    const std::string prefix = folderPrefix(session.store.FicToUpdate);
    const auto folder = pathFromBytes(prefix.empty() ? std::string(".") : prefix);
    if (const auto existing = session.files.findIgnoringCase(folder, kTextLogName))
        return prefix + bytesFromPath(existing->filename());
    return prefix + std::string(kTextLogName);
}

class Replacements {
public:
    explicit Replacements(Session& session) : session_(session) {}

    void backup(const std::string& source)
    {
        try {
            if (session_.files.backupFile(pathFromBytes(source), pathFromBytes(source + "_old"))
                == BackupResult::EarlierKept)
                session_.ui.appendToPane(pane::paragraph(
                    "La sauvegarde existante est gardée telle quelle [The existing backup is kept as it is] : "
                    + displayText(source + "_old")));
        } catch (const FileError& error) {
            session_.ui.appendToPane(pane::fileError(error));
            backupFailed_ = true;
        }
    }

    // `content` is null when its source could not be read (said already).
    void replace(const std::string& target, const std::string* content)
    {
        try {
            if (content != nullptr) {
                session_.files.replaceUserFile(pathFromBytes(target), *content);
                return;
            }
        } catch (const FileError& error) {
            session_.ui.appendToPane(pane::fileError(error));
        }
        notReplaced_.push_back(target);
    }

    // The content of one of the program's result files, or null after saying why not.
    const std::string* read(const std::filesystem::path& path, std::string& into)
    {
        try {
            into = session_.files.readFile(path);
            return &into;
        } catch (const FileError& error) {
            session_.ui.appendToPane(pane::fileError(error));
            return nullptr;
        }
    }

    bool allSucceeded() const noexcept { return !backupFailed_ && notReplaced_.empty(); }
    const std::vector<std::string>& notReplaced() const noexcept { return notReplaced_; }

private:
    Session& session_;
    bool backupFailed_ = false;
    std::vector<std::string> notReplaced_;
};

}  // namespace

std::string folderPrefix(std::string_view path)
{
#ifdef _WIN32
    const auto last = path.find_last_of("/\\");
#else
    const auto last = path.find_last_of('/');
#endif
    return last == std::string_view::npos ? std::string{} : std::string(path.substr(0, last + 1));
}

Outcome UpdateWsjtxLog(Session& session)
{
    LogStore& store = session.store;
    UserInterface& ui = session.ui;
    const auto fieldOrder = store.programFolder / "AdifCodes_Liste_WSJT-X.txt";
    if (!inputsPresent(session, fieldOrder) || !LoadFieldOrder(session, bytesFromPath(fieldOrder)))
        return Outcome::Stopped;
    store.EorTag = "<eor>";
    store.EohTag = "<eoh>";
    // The conflict dialog names the two logs it shows.
    store.OpenLogPath = store.FicToUpdate;
    store.AddedLogPath = store.FicToMerge;
    if (ReadOpenLog(session, store.FicToUpdate) != Outcome::Done
        || MergeAddedLog(session, store.FicToMerge) != Outcome::Done)
        return Outcome::Stopped;

    Replacements replacements(session);
    std::string merged;
    std::string contacts;
    const auto mergedPath = store.programFolder / "Logweave.adi";
    const auto contactsPath = store.programFolder / "Logweave.log";
    const std::string* mergedContent = replacements.read(mergedPath, merged);
    const std::string* contactsContent = replacements.read(contactsPath, contacts);
    const std::string textLog = textLogPath(session);

    replacements.backup(store.FicToUpdate);
    replacements.replace(store.FicToUpdate, mergedContent);
    replacements.replace(store.FicToMerge, mergedContent);
    replacements.replace(textLog, contactsContent);

    if (replacements.allSucceeded()) {
        ui.appendToPane(displayText(store.FicToUpdate) + "   et [and]\r\n" + displayText(textLog)
                        + "   remplacés [replaced]");
        return Outcome::Done;
    }
    std::string names;
    for (const auto& name : replacements.notReplaced())
        names += (names.empty() ? "" : ", ") + displayText(name);
    if (names.empty())
        ui.appendToPane(pane::paragraph(
            "Aucune sauvegarde n'a pu être faite, ces fichiers sont remplacés "
            "[No backup could be made, these files are replaced] : "
            + displayText(store.FicToUpdate) + ", " + displayText(store.FicToMerge) + ", " + displayText(textLog)));
    else
        ui.appendToPane(pane::paragraph("Fichiers non remplacés [Files not replaced] : " + names));
    return Outcome::Stopped;
}

}  // namespace logweave
