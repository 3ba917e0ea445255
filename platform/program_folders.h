#pragma once
// The program folder (where the program writes its results and reads its
// field order lists and Logweave.cfg), and where it was installed.

#include "platform/folder_places.h"

#include <QString>

namespace logweave::platform {

class ProgramFolders {
public:
    virtual ~ProgramFolders() = default;
    virtual QString programFolder() const = 0;
    // Where the help file was installed.
    virtual QString helpFolder() const { return programFolder(); }
    // The executable's folder could not be written: the user's data folder stands in for it.
    virtual bool inUserDataFolder() const { return false; }
    // Where WSJT-X keeps its log; empty when there is no such folder.
    virtual QString wsjtxLogFolder() const { return {}; }
};

// The program folder as logweave-cli chooses it too (settleProgramFolder):
// the executable's when it can be written, otherwise the user's data folder,
// made at first start and given its own copy of each field order list the
// user does not have there yet.
class QtProgramFolders final : public ProgramFolders {
public:
    QtProgramFolders();
    explicit QtProgramFolders(FolderPlaces places);

    QString programFolder() const override;
    QString helpFolder() const override;
    bool inUserDataFolder() const override;
    QString wsjtxLogFolder() const override;

private:
    FolderPlaces places_;
    bool inUserDataFolder_{false};
};

}  // namespace logweave::platform
