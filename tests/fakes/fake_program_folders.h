#pragma once
// A program folder of a test's own, which also holds the help file (as the
// interface's default has it). The current folder really changes, as relative
// names are read from it, and comes back afterwards.

#include "platform/program_folders.h"

#include <QDir>

namespace logweave::testing {

class FakeProgramFolders final : public platform::ProgramFolders {
public:
    explicit FakeProgramFolders(QString folder) : folder_(std::move(folder)) {}
    ~FakeProgramFolders() override { QDir::setCurrent(before_); }
    QString programFolder() const override { return folder_; }
    QString currentFolder() const override { return QDir::currentPath(); }
    bool setCurrentFolder(const QString& folder) override { return QDir::setCurrent(folder); }
    QString wsjtxLogFolder() const override { return wsjtxFolder; }

    QString wsjtxFolder;

private:
    QString folder_;
    QString before_ = QDir::currentPath();
};

}  // namespace logweave::testing
