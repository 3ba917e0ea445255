#pragma once
// What the user chose and finds again at the next start: the output options
// and the rule of what is one contact. Kept in "Logweave.ini" in the program
// folder, beside Logweave.cfg, so that a program folder carries its own.

#include "logweave/output_options.h"
#include "platform/program_folders.h"

namespace logweave::platform {

class Settings {
public:
    virtual ~Settings() = default;
    // As saved last; the initial options where none were saved.
    virtual OutputOptions outputOptions() const = 0;
    virtual void saveOutputOptions(const OutputOptions& options) = 0;
};

class QtSettings final : public Settings {
public:
    explicit QtSettings(const ProgramFolders& folders) : folders_(folders) {}

    OutputOptions outputOptions() const override;
    void saveOutputOptions(const OutputOptions& options) override;

private:
    QString file() const;

    const ProgramFolders& folders_;
};

}  // namespace logweave::platform
