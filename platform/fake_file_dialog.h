#pragma once
// The open-file dialog in tests: answers given in advance, requests kept.

#include "platform/file_dialog.h"

#include <deque>
#include <functional>
#include <vector>

namespace logweave::platform {

class FakeFileDialog final : public FileDialog {
public:
    QString getOpenFileName(QWidget*, const FileDialogRequest& request) override
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
    std::vector<FileDialogRequest> requests;
    std::function<void()> onShow;  // what else happens while it is up
};

}  // namespace logweave::platform
