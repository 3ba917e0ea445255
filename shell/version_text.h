#pragma once

#include <QString>

#include <string>

namespace logweave::shell {

// "1.00 " for 1.0.0: the minor number in two digits, then a blank, or a
// letter for a revision (1 gives "a").
std::string versionText(int major, int minor, int revision);

// "Logweave de Tolvan   V" and the version text.
std::string windowTitle(int major, int minor, int revision);

// What the About window says: the program and its version, its licence, and
// the Qt it runs on.
QString aboutText();

}  // namespace logweave::shell
