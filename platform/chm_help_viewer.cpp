#include "platform/chm_help_viewer.h"

namespace logweave::platform {

void ChmHelpViewer::show(const HelpRequest&) {}

}  // namespace logweave::platform
