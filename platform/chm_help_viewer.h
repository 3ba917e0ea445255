#pragma once

#include "platform/help_viewer.h"

namespace logweave::platform {

// TEMPORARY: replaced by the built-in help window.
class ChmHelpViewer final : public HelpViewer {
public:
    void show(const HelpRequest& request) override;
};

}  // namespace logweave::platform
