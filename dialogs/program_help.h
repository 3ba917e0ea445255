#pragma once

#include "platform/platform.h"

namespace logweave::dialogs {

// The program's help file at its table of contents, as both Help menus open it.
void showProgramHelp(platform::Platform& platform);

}  // namespace logweave::dialogs
