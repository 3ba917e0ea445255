#include "side_by_side.h"

#include <algorithm>
#include <exception>
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
        for (std::size_t i = 1; i < count; ++i)
            others.emplace_back(run, i);
        if (count > 0)
            run(0);
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
