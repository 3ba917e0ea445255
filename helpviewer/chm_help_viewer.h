#pragma once
// The help viewer of the platform. On Windows it hands the request to the
// system's HTML Help viewer; where there is none, and elsewhere, it shows the
// compiled help file in a window of its own, kept and reused for later requests.

#include "platform/help_viewer.h"

#include <memory>

class QWidget;

namespace logweave::helpviewer {

class HelpWindow;

class ChmHelpViewer final : public platform::HelpViewer {
public:
    ChmHelpViewer();
    ~ChmHelpViewer() override;
    ChmHelpViewer(const ChmHelpViewer&) = delete;
    ChmHelpViewer& operator=(const ChmHelpViewer&) = delete;

    void show(const platform::HelpRequest& request) override;
    void keepPlaceIn(platform::Settings& settings) override;

    // The built-in window, once a request has opened it.
    QWidget* window() const;

private:
    void showInOwnWindow(const platform::HelpRequest& request);

    std::unique_ptr<HelpWindow> window_;
    platform::Settings* settings_ = nullptr;
};

}  // namespace logweave::helpviewer
