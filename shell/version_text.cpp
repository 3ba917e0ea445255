#include "shell/version_text.h"

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

}  // namespace logweave::shell
