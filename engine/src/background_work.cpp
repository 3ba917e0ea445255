#include "background_work.h"

#include <system_error>

namespace logweave {

void BackgroundWork::start(const std::function<void()>& work)
{
    const std::lock_guard lock(mutex_);
    joinRunning();
    try {
        running_ = std::thread(work);
    } catch (const std::system_error&) {
        work();  // no thread to be had, as when memory runs short
    }
}

bool BackgroundWork::wait()
{
    const std::lock_guard lock(mutex_);
    return joinRunning();
}

bool BackgroundWork::joinRunning()
{
    if (!running_.joinable())
        return false;
    running_.join();
    return true;
}

}  // namespace logweave
