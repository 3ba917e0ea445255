#pragma once
// The open-file dialog in tests: answers given in advance, requests kept.

#include "platform/file_dialog.h"

#include <deque>
#include <functional>
#include <vector>

namespace logweave::testing {

class FakeFileDialog final : public platform::FileDialog {
public:
    QString getOpenFileName(QWidget*, const platform::FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (onShow)
            onShow();
        const QString answer = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;  // none left: Cancel
    std::vector<platform::FileDialogRequest> requests;
    std::function<void()> onShow;  // what else happens while it is up
};

}  // namespace logweave::testing
