#include "logweave/session.h"

namespace logweave {

std::filesystem::path inProgramFolder(const std::filesystem::path& programFolder, std::string_view name)
{
    const std::filesystem::path path = pathFromBytes(name);
    return path.is_absolute() ? path : programFolder / path;
}

}  // namespace logweave
