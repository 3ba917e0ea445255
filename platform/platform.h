#pragma once
// The platform services the windows use, handed to them together.

#include "platform/file_dialog.h"
#include "platform/help_viewer.h"
#include "platform/input_box.h"
#include "platform/program_exit.h"
#include "platform/program_folders.h"
#include "platform/settings.h"

namespace logweave::platform {

struct Platform {
    FileDialog& fileDialog;
    InputBox& inputBox;
    HelpViewer& helpViewer;
    ProgramExit& exit;
    ProgramFolders& folders;
    Settings& settings;
};

}  // namespace logweave::platform
