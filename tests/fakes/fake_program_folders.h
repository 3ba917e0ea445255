#pragma once
// A program folder of a test's own, which also holds the help file (as the
// interface's default has it).

#include "platform/program_folders.h"

#include <utility>

namespace logweave::testing {

class FakeProgramFolders final : public platform::ProgramFolders {
public:
    explicit FakeProgramFolders(QString folder) : folder_(std::move(folder)) {}
    QString programFolder() const override { return folder_; }
    QString wsjtxLogFolder() const override { return wsjtxFolder; }

    QString wsjtxFolder;

private:
    QString folder_;
};

}  // namespace logweave::testing
