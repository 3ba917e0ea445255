#pragma once
// The platform services the windows use, handed to them together.

#include "platform/file_dialog.h"
#include "platform/help_viewer.h"
#include "platform/input_box.h"
#include "platform/program_exit.h"
#include "platform/program_folders.h"

namespace logweave::platform {

struct Platform {
    FileDialog& fileDialog;
    InputBox& inputBox;
    HelpViewer& helpViewer;
    ProgramExit& exit;
    ProgramFolders& folders;
};

}  // namespace logweave::platform
