#pragma once
// Work that nothing waits for, done on a thread of its own, each piece after
// the one before; all of it done by the time its owner goes.

#include <functional>
#include <mutex>
#include <thread>

namespace logweave {

class BackgroundWork {
public:
    BackgroundWork() = default;
    ~BackgroundWork() { wait(); }
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // Starts `work`, which must not throw, once the work started before has
    // ended; does it on this thread when no thread can be started.
    void start(const std::function<void()>& work);
    // Returns once the work started has ended; whether any had to be waited for.
    bool wait();

private:
    bool joinRunning();

    std::mutex mutex_;  // any thread may wait, as one that writes a file does
    std::thread running_;
};

}  // namespace logweave
