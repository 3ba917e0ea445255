#include "platform/file_dialog.h"

#include <QFileDialog>

namespace logweave::platform {

QStringList adifFilters()
{
    return {QStringLiteral("Fichiers Adif (*.adi)"), QStringLiteral("Tous les fichiers (*)")};
}

QStringList fieldOrderFilters()
{
    return {QStringLiteral("Fichiers Adif (*.txt)"), QStringLiteral("Tous les fichiers (*)")};
}

QString QtFileDialog::getOpenFileName(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(request.nameFilters);
    if (!request.nameFilters.isEmpty())
        dialog.selectNameFilter(request.nameFilters.front());
    if (!request.startFolder.isEmpty())
        dialog.setDirectory(request.startFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

}  // namespace logweave::platform
