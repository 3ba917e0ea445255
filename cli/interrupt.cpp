#include "interrupt.h"

#include <atomic>
#include <csignal>

namespace logweave::cli {

namespace {

// The one thing a signal handler may touch: the first signal's number, 0
// before any. Lock-free, so that the handler and the engine's thread both may
// read it. On Windows the handler runs in a thread of its own.
std::atomic<int> interruptedBy{0};
static_assert(std::atomic<int>::is_always_lock_free);

void onInterrupt(int signal)
{
    int none = 0;
    interruptedBy.compare_exchange_strong(none, signal);
    // Windows puts the default action back before calling a handler: a
    // second Ctrl+C would then kill the program while it replaces files.
    std::signal(signal, onInterrupt);
}

void catchSignal(int signal)
{
    // A job a shell started in the background ignores Ctrl+C, which is meant
    // for the jobs in the foreground, and one started by nohup ignores the
    // terminal's hang-up: each goes on ignoring it.
    if (std::signal(signal, onInterrupt) == SIG_IGN)
        std::signal(signal, SIG_IGN);
}

}  // namespace

void catchInterrupts()
{
    catchSignal(SIGINT);
    catchSignal(SIGTERM);
#ifdef SIGHUP
    catchSignal(SIGHUP);
#endif
}

bool interruptRequested()
{
    return interruptedBy.load() != 0;
}

int interruptedStatus()
{
    const int signal = interruptedBy.load();
    return signal == 0 ? 0 : 128 + signal;
}

}  // namespace logweave::cli
