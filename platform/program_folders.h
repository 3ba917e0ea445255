#pragma once
// The folder that holds the program (where it writes its results) and the current folder.

#include <QString>

namespace logweave::platform {

class ProgramFolders {
public:
    virtual ~ProgramFolders() = default;
    virtual QString programFolder() const = 0;
    virtual QString currentFolder() const = 0;
    virtual bool setCurrentFolder(const QString& folder) = 0;
};

class QtProgramFolders final : public ProgramFolders {
public:
    QString programFolder() const override;
    QString currentFolder() const override;
    bool setCurrentFolder(const QString& folder) override;
};

}  // namespace logweave::platform
