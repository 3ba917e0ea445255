#pragma once
// Work done in batches, in order, on a second thread while this one fills
// the next batch. Two batches take turns: while the second thread works on
// one, this thread fills the other.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace logweave {

class BatchHandOff {
public:
    // `work(batch)`, batch 0 or 1, runs on a thread of its own given more
    // than one of `threads`, else on this thread when the batch is handed off.
    BatchHandOff(unsigned threads, std::function<void(std::size_t batch)> work);
    // Waits for the batch being worked on; drops one handed off after it.
    ~BatchHandOff();
    BatchHandOff(const BatchHandOff&) = delete;
    BatchHandOff& operator=(const BatchHandOff&) = delete;

    // The batch to fill.
    std::size_t filling() const noexcept { return filling_; }
    // Hands the filled batch off, once the other one is done; the other one
    // is then the batch to fill. Throws what the work on a batch threw.
    void handOff();
    // Returns once every batch handed off is done; throws as handOff.
    void finish();

private:
    void waitUntilIdle(std::unique_lock<std::mutex>& lock);
    void workOnHandedBatches();

    std::function<void(std::size_t)> work_;
    std::size_t filling_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::size_t> handed_;  // the batch the second thread is to work on, or works on
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace logweave
