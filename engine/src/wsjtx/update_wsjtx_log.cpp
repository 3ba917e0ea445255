#include "logweave/operations.h"

#include "writing/field_order.h"
#include "logweave/pane_texts.h"
#include "reading/reading_from.h"
#include "reading/record_scanner.h"
#include "uncancellable.h"
#include "reporting_stops.h"
#include "wsjtx/wsjtx_backups.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace logweave {
namespace {

constexpr std::string_view kTextLogName = "Wsjtx.log";
// A contact being appended as the logs were read is read whole the next time.
constexpr int kReadings = 3;

bool inputsPresent(const Session& session, const std::filesystem::path& fieldOrder, const WsjtxUpdate& update)
{
    for (const auto& path : {fieldOrder, pathFromBytes(update.logToUpdate), pathFromBytes(update.logToMerge)}) {
        if (session.files.isRegularFile(path))
            continue;
        session.ui.appendToPane(pane::updateInputMissing(bytesFromPath(path)));
        return false;
    }
    return true;
}

// The text log beside the WSJT-X log: an existing one in any letter case, else a new "Wsjtx.log".
std::string textLogPath(const Session& session, const std::string& log)
{
    const std::string prefix = folderPrefix(log);
    if (const auto existing = findIgnoringCase(session.files, folderOf(pathFromBytes(log)), kTextLogName))
        return prefix + bytesFromPath(existing->filename());
    return prefix + std::string(kTextLogName);
}

// The files the update replaces, open from their reading to their
// replacement: what the WSJT-X program appends to them meanwhile is read
// from there. The text log is only looked at: it is written anew.
struct UpdatedFiles {
    std::unique_ptr<FileReader> log;
    std::unique_ptr<FileReader> toMerge;
    std::string textLog;
    std::unique_ptr<FileReader> textLogAsRead;  // none when there is no text log yet
    bool readMidContact = false;

    // A file read in the middle of a contact that was being appended.
    bool readWhole() const
    {
        const auto grown = [](FileReader& file) { return file.stamp().size != file.extent().bytes; };
        return !readMidContact || (!grown(*log) && !grown(*toMerge));
    }
};

std::unique_ptr<FileReader> openInput(const Session& session, const std::string& path)
{
    auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    return opened ? std::move(*opened) : nullptr;
}

// A file another program keeps open for writing cannot be replaced safely:
// it is not read in vain, nor are questions asked about it.
bool letGo(const Session& session, const std::string& path, FileReader& file)
{
    try {
        session.files.waitForWriters(pathFromBytes(path), file);
        return true;
    } catch (const FileError& held) {
        session.ui.appendToPane(pane::changingDuringUpdate(held));
        return false;
    }
}

std::unique_ptr<FileReader> lookAtTextLog(const Session& session, const std::string& path)
{
    if (!session.files.isRegularFile(pathFromBytes(path)))
        return nullptr;
    try {
        auto file = session.files.openForReading(pathFromBytes(path));
        file->skipToEnd();
        return file;
    } catch (const FileError&) {
        return nullptr;  // replaced as any file would be
    }
}

// Why a reading gave no files: only a cancel heard before anything was put
// in place lets the update leave the earlier log open again.
enum class Stop { Failed, Cancelled };

std::optional<UpdatedFiles> readAndMerge(LogStore& store, const Session& session, const WsjtxUpdate& update, Stop& stop)
{
    stop = Stop::Failed;
    const auto fieldOrder = session.programFolder / "AdifCodes_Liste_WSJT-X.txt";
    if (!inputsPresent(session, fieldOrder, update))
        return std::nullopt;
    auto fields = loadFieldOrder(session, bytesFromPath(fieldOrder));
    if (!fields)
        return std::nullopt;
    const OutputForm form = OutputForm::ofWsjtxLog(update.options);
    UpdatedFiles files;
    files.log = openInput(session, update.logToUpdate);
    files.toMerge = openInput(session, update.logToMerge);
    if (!files.log || !files.toMerge || !letGo(session, update.logToUpdate, *files.log)
        || !letGo(session, update.logToMerge, *files.toMerge))
        return std::nullopt;
    // The tidy copy of the WSJT-X log goes in place once the merge has run,
    // so that an update cancelled while it merges leaves it as it was.
    std::unique_ptr<FileBatch> tidyCopy;
    const auto logEnd =
        readOpenLogFrom(store, session, *files.log, update.logToUpdate, form, std::move(*fields), &tidyCopy);
    if (!logEnd) {
        if (session.ui.cancelRequested())
            stop = Stop::Cancelled;
        return std::nullopt;
    }
    // The WSJT-X program writes a contact into both logs at once: what it
    // adds to the text log from here on belongs to the contacts added to the
    // log after this reading.
    files.textLog = textLogPath(session, update.logToUpdate);
    files.textLogAsRead = lookAtTextLog(session, files.textLog);
    const auto mergeEnd =
        mergeAddedLogFrom(store, session, *files.toMerge, update.logToMerge, form, update.options.sameContact);
    // A merge that stopped before its files were in place leaves the log it merged into open.
    if (!mergeEnd && store.openLogPath() == update.logToUpdate && session.ui.cancelRequested()) {
        stop = Stop::Cancelled;
        return std::nullopt;
    }
    if (!reportingStops(session.ui, update.logToUpdate, [&] { tidyCopy->commit(); return true; }) || !mergeEnd)
        return std::nullopt;
    files.readMidContact = *logEnd == TextEnd::InARecord || *mergeEnd == TextEnd::InARecord;
    return files;
}

std::optional<UpdatedFiles> readWholeAndMerge(LogStore& store, const Session& session, const WsjtxUpdate& update,
                                              Stop& stop)
{
    // The first reading puts its merged files in place: the readings after it are not stopped.
    Uncancellable uncancellable(session.ui);
    const Session later{uncancellable, session.files, session.programFolder};
    for (int reading = 1;; ++reading) {
        auto files = readAndMerge(store, reading == 1 ? session : later, update, stop);
        if (!files || files->readWhole())
            return files;
        if (reading == kReadings) {
            const FileError changing(FileError::Action::Replace, pathFromBytes(update.logToUpdate),
                                     LiveFileError::Rewritten);
            session.ui.appendToPane(pane::changingDuringUpdate(changing));
            return std::nullopt;
        }
    }
}

long long contactsIn(std::string_view text)
{
    const EndTagCounts counts = countEndTags(text);
    return std::accumulate(counts.begin(), counts.end(), 0LL);
}

// The replacements, each tried in turn: those that fail are said and named
// at the end, the others go on.
class Replacements {
public:
    explicit Replacements(const Session& session) : session_(session) {}

    // `target` replaced by `source`, or false; its copy is named where
    // another program goes on writing into the file replaced. Throws the
    // FileError of a WSJT-X log another program changes otherwise than by
    // appending.
    bool replace(const std::string& target, FileReader* asRead, const std::filesystem::path& source,
                 std::string_view copy, bool isTheLog)
    {
        try {
            if (!asRead) {
                session_.files.replaceUserFile(pathFromBytes(target), source);
                return true;
            }
            const std::string taken = session_.files.replaceAppendedFile(pathFromBytes(target), *asRead, source);
            if (const long long contacts = contactsIn(taken); contacts > 0)
                session_.ui.appendToPane(pane::takenIn(target, contacts));
            return true;
        } catch (const FileError& error) {
            if (error.code() == LiveFileError::StillWritten) {
                session_.ui.appendToPane(pane::stillWritten(copy));
                stillWritten_ = true;
                return true;
            }
            if (isTheLog && error.code().category() == liveFileCategory())
                throw;
            session_.ui.appendToPane(pane::fileError(error));
            failed_.push_back(target);
            return false;
        }
    }

    const std::vector<std::string>& failed() const noexcept { return failed_; }
    bool stillWritten() const noexcept { return stillWritten_; }

private:
    const Session& session_;
    std::vector<std::string> failed_;
    bool stillWritten_ = false;
};

struct DatedCopies {
    std::string log;
    std::string toMerge;
};

// Without both copies nothing is replaced.
std::optional<DatedCopies> keepDatedCopies(const Session& session, const WsjtxUpdate& update, UpdatedFiles& files)
{
    std::optional<std::string> log;
    try {
        log = keepDatedCopy(session, update.logToUpdate, *files.log, update.time);
        if (!log) {
            session.ui.appendToPane(pane::noCopyNothingReplaced(update.logToUpdate));
            return std::nullopt;
        }
        auto toMerge = keepDatedCopy(session, update.logToMerge, *files.toMerge, update.time);
        if (!toMerge) {
            forgetCopy(session, *log);
            session.ui.appendToPane(pane::noCopyOfFileToMerge(update.logToMerge));
            return std::nullopt;
        }
        return DatedCopies{std::move(*log), std::move(*toMerge)};
    } catch (const FileError& changing) {
        if (log)
            forgetCopy(session, *log);
        session.ui.appendToPane(pane::changingDuringUpdate(changing));
        return std::nullopt;
    }
}

Outcome replaceFiles(const Session& session, const WsjtxUpdate& update, UpdatedFiles& files, const DatedCopies& copies)
{
    const std::string& log = update.logToUpdate;
    const std::string& toMerge = update.logToMerge;
    const auto& folder = session.programFolder;
    // A dated copy is a second name of the file it copies: where that file
    // stays, the copy would change with it, and goes.
    const auto keepCopyIf = [&session](bool replaced, const std::string& file, const std::string& copy) {
        if (replaced)
            removeOldCopies(session, file);
        else
            forgetCopy(session, copy);
    };
    Replacements replacements(session);
    try {
        const bool replaced = replacements.replace(log, files.log.get(), folder / "Logweave.adi", copies.log, true);
        keepCopyIf(replaced, log, copies.log);
    } catch (const FileError& changing) {
        forgetCopy(session, copies.log);
        forgetCopy(session, copies.toMerge);
        session.ui.appendToPane(pane::changingDuringUpdate(changing));
        return Outcome::Stopped;
    }
    const bool replaced = replacements.replace(toMerge, files.toMerge.get(), folder / "Logweave.adi", copies.toMerge, false);
    keepCopyIf(replaced, toMerge, copies.toMerge);
    replacements.replace(files.textLog, files.textLogAsRead.get(), folder / "Logweave.log", files.textLog, false);
    if (!replacements.failed().empty()) {
        session.ui.appendToPane(pane::notReplaced(replacements.failed()));
        return Outcome::Stopped;
    }
    session.ui.appendToPane(pane::fileToMergeReplaced(toMerge, copies.toMerge));
    session.ui.appendToPane(pane::replaced(log, files.textLog));
    return replacements.stillWritten() ? Outcome::Stopped : Outcome::Done;
}

}  // namespace

Outcome updateWsjtxLog(LogStore& store, const Session& session, const WsjtxUpdate& update)
{
    // Cancelled before the merged files are in place, the update leaves the
    // log that was open before it; after that it is not stopped.
    LogStore earlier = store.takeForCancel();
    Stop stop = Stop::Failed;
    auto files = readWholeAndMerge(store, session, update, stop);
    if (!files) {
        if (stop == Stop::Cancelled)
            store = std::move(earlier);
        return Outcome::Stopped;
    }
    earlier = LogStore();
    const auto copies = keepDatedCopies(session, update, *files);
    if (!copies)
        return Outcome::Stopped;
    keepFirstCopy(session, update.logToUpdate);
    return replaceFiles(session, update, *files, *copies);
}

}  // namespace logweave
