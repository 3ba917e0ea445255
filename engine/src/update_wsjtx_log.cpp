#include "logweave/update_wsjtx_log.h"

#include "logweave/load_field_order.h"
#include "logweave/merge_added_log.h"
#include "logweave/pane_texts.h"
#include "logweave/read_open_log.h"
#include "wsjtx_backups.h"

#include <vector>

namespace logweave {
namespace {

constexpr std::string_view kTextLogName = "Wsjtx.log";

bool inputsPresent(Session& session, const std::filesystem::path& fieldOrder, const WsjtxUpdate& update)
{
    for (const auto& path : {fieldOrder, pathFromBytes(update.FicToUpdate), pathFromBytes(update.FicToMerge)}) {
        if (session.files.isRegularFile(path))
            continue;
        session.ui.appendToPane(pane::updateInputMissing(bytesFromPath(path)));
        return false;
    }
    return true;
}

// The text log beside the WSJT-X log: an existing one in any letter case, else a new "Wsjtx.log".
std::string textLogPath(Session& session, const std::string& log)
{
    const std::string prefix = folderPrefix(log);
    if (const auto existing = findIgnoringCase(session.files, folderOf(pathFromBytes(log)), kTextLogName))
        return prefix + bytesFromPath(existing->filename());
    return prefix + std::string(kTextLogName);
}

// Each replacement is tried; those that fail are said and named at the end.
class Replacements {
public:
    explicit Replacements(Session& session) : session_(session) {}

    void replace(const std::string& target, const std::filesystem::path& source)
    {
        try {
            session_.files.replaceUserFile(pathFromBytes(target), source);
        } catch (const FileError& error) {
            session_.ui.appendToPane(pane::fileError(error));
            failed_.push_back(target);
        }
    }

    const std::vector<std::string>& failed() const noexcept { return failed_; }

private:
    Session& session_;
    std::vector<std::string> failed_;
};

Outcome readAndMerge(Session& session, const WsjtxUpdate& update)
{
    LogStore& store = session.store;
    const auto fieldOrder = store.programFolder / "AdifCodes_Liste_WSJT-X.txt";
    if (!inputsPresent(session, fieldOrder, update) || !LoadFieldOrder(session, bytesFromPath(fieldOrder)))
        return Outcome::Stopped;
    store.EorTag = "<eor>";
    store.EohTag = "<eoh>";
    // The conflict dialog names the two logs it shows.
    store.OpenLogPath = update.FicToUpdate;
    store.AddedLogPath = update.FicToMerge;
    if (ReadOpenLog(session, update.FicToUpdate) != Outcome::Done
        || MergeAddedLog(session, update.FicToMerge, update.sameContact) != Outcome::Done)
        return Outcome::Stopped;
    return Outcome::Done;
}

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

Outcome UpdateWsjtxLog(Session& session, const WsjtxUpdate& update)
{
    if (readAndMerge(session, update) != Outcome::Done)
        return Outcome::Stopped;
    const std::string& log = update.FicToUpdate;
    if (!keepDatedCopy(session, log, update.time))
        return Outcome::Stopped;
    removeOldCopies(session, log);
    keepFirstCopy(session, log);

    const auto& folder = session.store.programFolder;
    const std::string textLog = textLogPath(session, log);
    Replacements replacements(session);
    replacements.replace(log, folder / "Logweave.adi");
    replacements.replace(update.FicToMerge, folder / "Logweave.adi");
    replacements.replace(textLog, folder / "Logweave.log");
    if (!replacements.failed().empty()) {
        session.ui.appendToPane(pane::notReplaced(replacements.failed()));
        return Outcome::Stopped;
    }
    session.ui.appendToPane(pane::replaced(log, textLog));
    return Outcome::Done;
}

}  // namespace logweave
