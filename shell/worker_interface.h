#pragma once
// The engine's user as an operation on the worker thread sees it. What shows
// or asks something in a window is done on the user-interface thread: texts
// for the pane are posted there in order, and a dialog's answer is waited
// for. The progress and the user's wish to stop are plain shared values, so
// that the engine may look at them as often as it likes.

#include "logweave/user_interface.h"

#include <atomic>
#include <mutex>

class QObject;

namespace logweave::shell {

class WorkerInterface final : public UserInterface {
public:
    // `window` is the user-interface thread's interface; what it is asked
    // runs there through events sent to `uiThreadObject`.
    WorkerInterface(UserInterface& window, QObject& uiThreadObject);

    void appendToPane(std::string_view utf8) override;
    OutputOptions outputOptions() override;
    bool showOptionsDialog() override;
    Settlement settleConflict(const Conflict& conflict) override;
    void showProgress(const Progress& progress) override;
    bool cancelRequested() override { return cancel_.load(); }

    // From the user-interface thread.
    void startAfresh();
    void requestCancel() { cancel_.store(true); }
    Progress progress() const;

private:
    template <typename Answer, typename Question>
    Answer askOnUiThread(Question question);

    UserInterface& window_;
    QObject& uiThreadObject_;
    std::atomic<bool> cancel_{false};
    mutable std::mutex progressMutex_;
    Progress progress_;
};

}  // namespace logweave::shell
