#include "shell/pane_texts.h"

#include <QDir>

namespace logweave::shell {

std::string programFolderParagraph(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    return QStringLiteral("Dossier du programme : %1 [Program folder: %1]\r\n\r\n").arg(shown).toStdString();
}

}  // namespace logweave::shell
