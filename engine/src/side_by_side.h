#pragma once
// Work shared among threads: each of a few tasks on a thread of its own.

#include <cstddef>
#include <functional>

namespace logweave {

// Runs task(0) to task(count - 1), the first on this thread and each other on
// a thread of its own, and returns when all have ended. The first exception
// any of them threw is thrown then. A task whose thread cannot be started
// runs on this thread after the first: tasks never wait for one another.
void runSideBySide(std::size_t count, const std::function<void(std::size_t)>& task);

// Runs task(0) and task(1): side by side given more than one of `threads`,
// else one after the other on this thread.
void runBoth(unsigned threads, const std::function<void(std::size_t)>& task);

// Into how many pieces work on `bytes` of text is cut for `threads`: none
// under 4 MiB, whose thread would cost about what it saves.
std::size_t piecesFor(std::size_t bytes, unsigned threads) noexcept;

}  // namespace logweave
