#include "side_by_side.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace logweave {

void runSideBySide(std::size_t count, const std::function<void(std::size_t)>& task)
{
    std::vector<std::exception_ptr> failures(count);
    const auto run = [&](std::size_t i) {
        try {
            task(i);
        } catch (...) {
            failures[i] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> others;
        std::vector<std::size_t> here;
        others.reserve(count);
        here.reserve(count);
        for (std::size_t i = 1; i < count; ++i) {
            try {
                others.emplace_back(run, i);
            } catch (const std::system_error&) {
                // No thread to be had, as when memory runs short: the task
                // runs here, to the same result.
                here.push_back(i);
            }
        }
        if (count > 0)
            run(0);
        for (const std::size_t i : here)
            run(i);
    }
    for (const auto& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

void runBoth(unsigned threads, const std::function<void(std::size_t)>& task)
{
    if (threads > 1) {
        runSideBySide(2, task);
        return;
    }
    task(0);
    task(1);
}

std::size_t piecesFor(std::size_t bytes, unsigned threads) noexcept
{
    constexpr std::size_t kLeast = std::size_t{4} << 20;
    return std::clamp<std::size_t>(bytes / kLeast, 1, std::max(threads, 1u));
}

}  // namespace logweave
