#include "shell/pane_texts.h"

#include "logweave/pane_texts.h"

#include <QDir>

namespace logweave::shell {

std::string programFolderParagraph(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    return pane::paragraph(QStringLiteral("Dossier du programme : %1 [Program folder: %1]").arg(shown).toStdString());
}

std::string noChangeListParagraph(const QString& file)
{
    return pane::paragraph(
        QStringLiteral("Pas de liste des changements : aucune fusion ne l'a encore écrite "
                       "[No list of changes: no merge has written it yet] : %1")
            .arg(QDir::toNativeSeparators(file))
            .toStdString());
}

}  // namespace logweave::shell
