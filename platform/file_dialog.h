#pragma once
// The platform's open-file dialog: one existing file, or an empty name on Cancel.

#include <QString>
#include <QStringList>

class QWidget;

namespace logweave::platform {

struct FileDialogRequest {
    QString startFolder;
    QStringList nameFilters;  // the first one is selected
};

// Logs, and field order lists, as the program's dialogs offer them.
QStringList adifFilters();
QStringList fieldOrderFilters();

class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
};

class QtFileDialog final : public FileDialog {
public:
    QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
};

}  // namespace logweave::platform
