#pragma once
// The help viewer in tests: the requests it was given.

#include "platform/help_viewer.h"

#include <vector>

namespace logweave::platform {

class FakeHelpViewer final : public HelpViewer {
public:
    void show(const HelpRequest& request) override { requests.push_back(request); }
    std::vector<HelpRequest> requests;
};

}  // namespace logweave::platform
