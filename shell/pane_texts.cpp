#include "shell/pane_texts.h"

#include "logweave/pane_texts.h"

#include <QDir>

namespace logweave::shell {

std::string programFolderParagraph(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    return pane::paragraph(QStringLiteral("Dossier du programme : %1 [Program folder: %1]").arg(shown).toStdString());
}

}  // namespace logweave::shell
