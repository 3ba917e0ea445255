#include "logweave/operations.h"

namespace logweave {

OutputOptions reviewOutputOptions(UserInterface& ui)
{
    ui.showOptionsDialog();
    return ui.outputOptions();
}

}  // namespace logweave
