#pragma once
// The folders the program folder is chosen among, and how to tell whether a
// folder can be written; tests give their own.

#include <QString>

#include <functional>

namespace logweave::platform {

struct FolderPlaces {
    QString executableFolder;  // holds the programs, the help file and the field order lists
    QString userDataFolder;    // this program's data folder for the user: ~/.local/share/Logweave on Linux
    QString sharedDataFolder;  // where programs keep their data for the user, WSJT-X among them
    std::function<bool(const QString& folder)> canWrite;
};

// This system's folders for this user.
FolderPlaces systemFolderPlaces();

// Whether a file can be created in `folder`, tried as logweave-cli tries it.
bool canCreateFileIn(const QString& folder);

}  // namespace logweave::platform
