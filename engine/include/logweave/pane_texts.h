#pragma once
// Every text the engine appends to the activity pane, in one place: French,
// then English in brackets. The operations and the tests both take them
// from here.

#include "logweave/file_error.h"
#include "logweave/progress.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace logweave {
struct MergeCounts;
}

namespace logweave::pane {

// One paragraph: the text, then CR LF CR LF.
std::string paragraph(std::string_view text);

// Reading a log.
std::string fileRead(std::string_view path);
std::string header(std::string_view header);
std::string recordsProcessed(long long count);
std::string outOfOrder(long long record);
std::string recordCutShort(long long record, std::string_view identification);
std::string textNotRead(std::string_view excerpt);

// The field order list.
std::string fieldOrder(std::string_view path);
std::string fieldOrderUnreadable(std::string_view path, const FileError& error);

// Merging.
std::string fileAdded(std::string_view path);
std::string mergeCounts(const MergeCounts& counts);
// Conflicts settled without a question, each field with its count.
std::string sameChoices(const std::vector<std::pair<std::string, long long>>& settled);
std::string mergedLogNotRead(std::string_view path);
std::string mergeCancelled();
// An operation the user stopped: nothing written, the open log as before.
std::string cancelled();
// A phase of an operation, as its progress bar names it.
std::string_view phaseName(Phase phase);
// Where the list of what the merge did is, and how many rows of each kind it has.
std::string changesWritten(std::string_view path, long long added, long long changedValues);

// Filtering.
std::string filterFiles();
std::string recordsKept(long long count);
std::string filterRefused(std::string_view term);

// The WSJT-X log update.
// Saved to run at every start, in the file `path`.
std::string automationSaved(std::string_view path);
std::string updateInputMissing(std::string_view path);
std::string backupKept(std::string_view backup);
std::string replaced(std::string_view toUpdate, std::string_view textLog);
std::string notReplaced(const std::vector<std::string>& paths);
std::string noCopyNothingReplaced(std::string_view log);
std::string noCopyOfFileToMerge(std::string_view file);
// A file of the update could not be replaced safely: another program changes it.
std::string changingDuringUpdate(const FileError& error);
// A program still writes into a file the update replaced, now kept as `copy`.
std::string stillWritten(std::string_view copy);
// Contacts another program appended to `file` while the update ran, kept in the new one.
std::string takenIn(std::string_view file, long long contacts);
std::string fileToMergeReplaced(std::string_view file, std::string_view copy);
std::string backupsNotRemoved(std::string_view backup, const FileError& error);

// Stops.
std::string fileError(const FileError& error);
std::string tooLargeForMemory(std::string_view path);
std::string recordTooLarge();

}  // namespace logweave::pane
