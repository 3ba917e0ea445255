#pragma once
// The window's own texts in the activity pane, beside the engine's: French,
// then English in brackets.

#include <QString>

#include <string>

namespace logweave::shell {

// Where the program keeps its files, when that is not beside itself.
std::string programFolderParagraph(const QString& folder);

// The list of a merge's changes is not there, or is no such list.
std::string noChangeListParagraph(const QString& file);

}  // namespace logweave::shell
