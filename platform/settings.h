#pragma once
// What the user chose and finds again at the next start: the output options,
// the rule of what is one contact, the recent logs, the folder each file
// dialog showed last and the windows' size and place. Kept in "Logweave.ini" in the program
// folder, beside Logweave.cfg, so that a program folder carries its own.

#include "logweave/output_options.h"
#include "platform/program_folders.h"

#include <QByteArray>
#include <QStringList>

namespace logweave::platform {

class Settings {
public:
    virtual ~Settings() = default;
    // As saved last; the initial options where none were saved.
    virtual OutputOptions outputOptions() const = 0;
    virtual void saveOutputOptions(const OutputOptions& options) = 0;
    // The logs opened or added last, the newest first.
    virtual QStringList recentLogs() const = 0;
    virtual void saveRecentLogs(const QStringList& logs) = 0;
    // The folder where the file dialog of `role` ("log", "fieldOrder", …) was
    // left; empty before its first use.
    virtual QString lastFolder(const QString& role) const = 0;
    virtual void saveLastFolder(const QString& role, const QString& folder) = 0;
    // A window's size and place, as QWidget::saveGeometry gives them; empty before its first close.
    virtual QByteArray windowGeometry(const QString& window) const = 0;
    virtual void saveWindowGeometry(const QString& window, const QByteArray& geometry) = 0;
};

class QtSettings final : public Settings {
public:
    explicit QtSettings(const ProgramFolders& folders) : folders_(folders) {}

    OutputOptions outputOptions() const override;
    void saveOutputOptions(const OutputOptions& options) override;
    QStringList recentLogs() const override;
    void saveRecentLogs(const QStringList& logs) override;
    QString lastFolder(const QString& role) const override;
    void saveLastFolder(const QString& role, const QString& folder) override;
    QByteArray windowGeometry(const QString& window) const override;
    void saveWindowGeometry(const QString& window, const QByteArray& geometry) override;

private:
    QString file() const;

    const ProgramFolders& folders_;
};

}  // namespace logweave::platform
