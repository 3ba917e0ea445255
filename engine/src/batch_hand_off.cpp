#include "batch_hand_off.h"

#include <system_error>

namespace logweave {

BatchHandOff::BatchHandOff(unsigned threads, std::function<void(std::size_t)> work) : work_(std::move(work))
{
    if (threads <= 1)
        return;
    try {
        thread_ = std::thread([this] { workOnHandedBatches(); });
    } catch (const std::system_error&) {
        // No thread to be had, as when memory runs short: the batches are
        // worked on here, to the same result.
    }
}

BatchHandOff::~BatchHandOff()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BatchHandOff::handOff()
{
    if (!thread_.joinable()) {
        work_(filling_);
        filling_ = 1 - filling_;
        return;
    }
    {
        std::unique_lock lock(mutex_);
        waitUntilIdle(lock);
        handed_ = filling_;
    }
    changed_.notify_all();
    filling_ = 1 - filling_;
}

void BatchHandOff::finish()
{
    if (!thread_.joinable())
        return;
    std::unique_lock lock(mutex_);
    waitUntilIdle(lock);
}

void BatchHandOff::waitUntilIdle(std::unique_lock<std::mutex>& lock)
{
    changed_.wait(lock, [this] { return !handed_; });
    if (failure_)
        std::rethrow_exception(failure_);
}

void BatchHandOff::workOnHandedBatches()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return handed_ || stopping_; });
        if (stopping_)
            return;
        const std::size_t batch = *handed_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            work_(batch);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        if (!failure_)
            failure_ = failure;
        handed_.reset();
        changed_.notify_all();
    }
}

}  // namespace logweave
