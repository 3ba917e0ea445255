#include "shell/worker_interface.h"

#include <QMetaObject>
#include <QObject>

#include <string>

namespace logweave::shell {

WorkerInterface::WorkerInterface(UserInterface& window, QObject& uiThreadObject)
    : window_(window), uiThreadObject_(uiThreadObject)
{
}

// The worker waits: whatever the question points into stays valid until answered.
template <typename Answer, typename Question>
Answer WorkerInterface::askOnUiThread(Question question)
{
    Answer answer{};
    QMetaObject::invokeMethod(&uiThreadObject_, [&] { answer = question(); }, Qt::BlockingQueuedConnection);
    return answer;
}

void WorkerInterface::appendToPane(std::string_view utf8)
{
    // Queued, not waited for: the texts keep their order, and the worker its pace.
    QMetaObject::invokeMethod(&uiThreadObject_, [this, text = std::string(utf8)] { window_.appendToPane(text); },
                              Qt::QueuedConnection);
}

OutputOptions WorkerInterface::outputOptions()
{
    return askOnUiThread<OutputOptions>([this] { return window_.outputOptions(); });
}

bool WorkerInterface::showOptionsDialog()
{
    return askOnUiThread<bool>([this] { return !cancelRequested() && window_.showOptionsDialog(); });
}

// Once the user asked to stop, no more questions: the merge stops, writing nothing.
Settlement WorkerInterface::settleConflict(const Conflict& conflict)
{
    return askOnUiThread<Settlement>([&] {
        if (cancelRequested())
            return Settlement{{}, {}, true};
        return window_.settleConflict(conflict);
    });
}

void WorkerInterface::showProgress(const Progress& progress)
{
    const std::lock_guard lock(progressMutex_);
    progress_ = progress;
}

Progress WorkerInterface::progress() const
{
    const std::lock_guard lock(progressMutex_);
    return progress_;
}

void WorkerInterface::startAfresh()
{
    cancel_.store(false);
    const std::lock_guard lock(progressMutex_);
    progress_ = {};
}

}  // namespace logweave::shell
