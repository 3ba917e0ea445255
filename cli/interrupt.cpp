#include "interrupt.h"

#include <atomic>
#include <csignal>

namespace logweave::cli {

namespace {

// The one thing a signal handler may touch; lock-free, so that the handler
// and the engine's thread both may read it. On Windows the handler runs in
// a thread of its own.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onInterrupt(int signal)
{
    interrupted.store(true);
    // Windows puts the default action back before calling a handler: a
    // second Ctrl+C would then kill the program while it replaces files.
    std::signal(signal, onInterrupt);
}

}  // namespace

void catchInterrupts()
{
    // A job a shell started in the background ignores Ctrl+C, which is meant
    // for the jobs in the foreground: it goes on ignoring it.
    if (std::signal(SIGINT, onInterrupt) == SIG_IGN)
        std::signal(SIGINT, SIG_IGN);
}

bool interruptRequested()
{
    return interrupted.load();
}

}  // namespace logweave::cli
