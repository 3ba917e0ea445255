#include "wsjtx/wsjtx_backups.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "logweave/dated_copies.h"

#include <algorithm>
#include <ctime>

namespace logweave {
namespace {

constexpr std::size_t kDatedCopiesKept = 10;
constexpr std::string_view kStampPattern = "YYYYMMDD-HHMMSS";
constexpr std::string_view kSuffix = ".bak";

std::string fileNameOf(const std::string& path)
{
    return bytesFromPath(pathFromBytes(path).filename());
}

// "NAME." + 8 digits + "-" + 6 digits + ".bak".
bool isDatedCopyOf(std::string_view entry, std::string_view name)
{
    if (entry.size() != name.size() + 1 + kStampPattern.size() + kSuffix.size() || !entry.starts_with(name)
        || entry[name.size()] != '.' || !entry.ends_with(kSuffix))
        return false;
    const std::string_view stamp = entry.substr(name.size() + 1, kStampPattern.size());
    return allDigits(stamp.substr(0, 8)) && stamp[8] == '-' && allDigits(stamp.substr(9));
}

// The thread-safe one: POSIX and Windows name it and order its arguments differently.
std::tm localTime(std::time_t seconds)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
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

std::string datedBackupName(std::string_view log, std::chrono::system_clock::time_point time)
{
    const std::tm local = localTime(std::chrono::system_clock::to_time_t(time));
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return std::string(log) + "." + stamp + std::string(kSuffix);
}

std::optional<std::string> keepDatedCopy(const Session& session, const std::string& file, FileReader& read,
                                         std::chrono::system_clock::time_point time)
{
    try {
        // Two updates within one second: the later copy takes the next free second.
        for (;; time += std::chrono::seconds(1)) {
            std::string copy = datedBackupName(file, time);
            if (session.files.keepSecondName(pathFromBytes(file), read, pathFromBytes(copy)) == BackupResult::Made)
                return copy;
        }
    } catch (const FileError& error) {
        if (error.code().category() == liveFileCategory())
            throw;
        session.ui.appendToPane(pane::fileError(error));
    }
    return std::nullopt;
}

void forgetCopy(const Session& session, const std::string& copy)
{
    try {
        session.files.removeFile(pathFromBytes(copy));
    } catch (const FileError& error) {
        session.ui.appendToPane(pane::backupsNotRemoved(copy, error));
    }
}

void removeOldCopies(const Session& session, const std::string& file)
{
    const std::string name = fileNameOf(file);
    std::vector<std::string> copies;
    for (std::string& entry : session.files.fileNames(folderOf(pathFromBytes(file))))
        if (isDatedCopyOf(entry, name))
            copies.push_back(std::move(entry));
    if (copies.size() <= kDatedCopiesKept)
        return;
    // The stamp sorts as the time does.
    std::sort(copies.begin(), copies.end());
    const std::string folder = folderPrefix(file);
    for (std::size_t i = 0; i + kDatedCopiesKept < copies.size(); ++i) {
        const std::string path = folder + copies[i];
        try {
            session.files.removeFile(pathFromBytes(path));
        } catch (const FileError& error) {
            session.ui.appendToPane(pane::backupsNotRemoved(path, error));
        }
    }
}

void keepFirstCopy(const Session& session, const std::string& log)
{
    try {
        if (session.files.backupFile(pathFromBytes(log), pathFromBytes(log + "_old")) == BackupResult::EarlierKept)
            session.ui.appendToPane(pane::backupKept(log + "_old"));
    } catch (const FileError& error) {
        // The dated copy is there: the update goes on.
        session.ui.appendToPane(pane::fileError(error));
    }
}

}  // namespace logweave
