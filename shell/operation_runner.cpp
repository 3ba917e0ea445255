#include "shell/operation_runner.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

#include <chrono>
#include <exception>
#include <utility>

namespace logweave::shell {

OperationRunner::OperationRunner(UserInterface& window) : ui_(window, *this)
{
}

OperationRunner::~OperationRunner()
{
    if (!running())
        return;
    // What comes back from the worker from now on finds the window gone: it
    // only ends the thread, never the window's follow-up.
    destroying_ = true;
    ui_.requestCancel();
    // The worker may be waiting for an answer from this thread: its questions
    // are answered here, as cancelled ones, until it has stopped.
    while (!workerDone_.load()) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (worker_.joinable())
        worker_.join();
}

void OperationRunner::start(Operation operation, Then then)
{
    Q_ASSERT(!running());
    if (running())
        return;  // a second thread would end the program
    ui_.startAfresh();
    workerDone_.store(false);
    worker_ = std::thread([this, operation = std::move(operation), then = std::move(then)]() mutable {
        Outcome outcome = Outcome::Stopped;
        std::exception_ptr failure;
        try {
            outcome = operation(ui_);
        } catch (...) {
            // Thrown again on this window's thread, as it was before operations had a thread of their own.
            failure = std::current_exception();
        }
        operation = nullptr;  // what it held goes here, not on the window's thread
        QMetaObject::invokeMethod(
            this, [this, outcome, failure, then = std::move(then)] { finish(outcome, failure, then); },
            Qt::QueuedConnection);
        workerDone_.store(true);
    });
}

void OperationRunner::finish(Outcome outcome, const std::exception_ptr& failure, const Then& then)
{
    if (worker_.joinable())
        worker_.join();
    if (destroying_)
        return;
    if (failure)
        std::rethrow_exception(failure);
    if (then)
        then(outcome);
    emit ended();
}

}  // namespace logweave::shell
