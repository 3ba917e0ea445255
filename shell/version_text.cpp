#include "shell/version_text.h"

#include "logweave/version.h"

#include <QtGlobal>

#include <cstdio>

namespace logweave::shell {

std::string versionText(int major, int minor, int revision)
{
    char minorDigits[16];
    std::snprintf(minorDigits, sizeof minorDigits, "%02d", minor);
    std::string text = std::to_string(major) + "." + minorDigits;
    text += revision == 0 ? ' ' : static_cast<char>('a' + revision - 1);
    return text;
}

std::string windowTitle(int major, int minor, int revision)
{
    return "Logweave de Tolvan   V" + versionText(major, minor, revision);
}

QString aboutText()
{
    return QStringLiteral("<p><b>Logweave %1</b></p>"
                          "<p>Fusionne, filtre et met à jour les logs de station ADIF.<br>"
                          "[Merges, filters and updates ADIF station logs.]</p>"
                          "<p>Licence MIT [MIT licence]</p>"
                          "<p>Qt %2</p>")
        .arg(QString::fromLatin1(kVersion), QString::fromLatin1(qVersion()));
}

}  // namespace logweave::shell
