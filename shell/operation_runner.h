#pragma once
// Runs the window's operations on a worker thread, one at a time, so that the
// window keeps answering while a large log is read, merged or written. While
// one runs, only the worker touches the log store.

#include "logweave/outcome.h"
#include "logweave/progress.h"
#include "shell/worker_interface.h"

#include <QObject>

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace logweave::shell {

class OperationRunner final : public QObject {
    Q_OBJECT

public:
    using Operation = std::function<Outcome(UserInterface& ui)>;
    using Then = std::function<void(Outcome)>;

    // `window` is the interface the operations' questions and texts go to.
    explicit OperationRunner(UserInterface& window);
    // A running operation is cancelled and waited for.
    ~OperationRunner() override;

    // Starts `operation` on the worker; none may be running. `then` runs on
    // this thread with its outcome, after every text it sent to the pane.
    void start(Operation operation, Then then);
    bool running() const noexcept { return worker_.joinable(); }
    void cancel() { ui_.requestCancel(); }
    // Whether the user asked the operation running, or the last one, to stop.
    bool cancelRequested() { return ui_.cancelRequested(); }
    Progress progress() const { return ui_.progress(); }

signals:
    // After `then`: the next operation may start.
    void ended();

private:
    void finish(Outcome outcome, const std::exception_ptr& failure, const Then& then);

    WorkerInterface ui_;
    std::thread worker_;
    std::atomic<bool> workerDone_{false};
    bool destroying_ = false;
};

}  // namespace logweave::shell
