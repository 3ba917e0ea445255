#pragma once
// The help viewer in tests: the requests it was given.

#include "platform/help_viewer.h"

#include <vector>

namespace logweave::testing {

class FakeHelpViewer final : public platform::HelpViewer {
public:
    void show(const platform::HelpRequest& request) override { requests.push_back(request); }
    std::vector<platform::HelpRequest> requests;
};

}  // namespace logweave::testing
