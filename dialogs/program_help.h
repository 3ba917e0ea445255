#pragma once

#include "platform/platform.h"

namespace logweave::dialogs {

// The program's help file at its table of contents, as both Help menus open it,
// in a window at the size and place it was last closed at.
void showProgramHelp(platform::Platform& platform);

}  // namespace logweave::dialogs
