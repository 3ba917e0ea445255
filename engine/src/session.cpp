#include "logweave/session.h"

#include <algorithm>
#include <thread>

namespace logweave {

unsigned machineThreads() noexcept
{
    return std::max(std::thread::hardware_concurrency(), 1u);
}

std::filesystem::path inProgramFolder(const std::filesystem::path& programFolder, std::string_view name)
{
    const std::filesystem::path path = pathFromBytes(name);
    return path.is_absolute() ? path : programFolder / path;
}

}  // namespace logweave
