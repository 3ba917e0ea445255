#include "temporary_folder.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace logweave::testing {

TemporaryFolder::TemporaryFolder()
{
#ifdef _WIN32
    // No mkdtemp there: a random name, ours only when this call makes it.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("logweave-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            path_ = candidate;
    }
    if (path_.empty())
        throw std::runtime_error("cannot create a temporary folder");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "logweave-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
#endif
}

TemporaryFolder::~TemporaryFolder()
{
    namespace fs = std::filesystem;
    std::error_code ignored;
    // Tests make some files and folders read-only; give them back before removing.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::filesystem::path TemporaryFolder::writeLargeLog(std::string_view name, int megabytes) const
{
    const auto path = path_ / name;
    std::ofstream log(path, std::ios::binary | std::ios::trunc);
    log << "big<eoh>\n";
    for (int i = 0; log && log.tellp() < static_cast<std::streamoff>(megabytes) << 20; ++i)
        log << "<call:6>Q" << 10000 + i % 90000 << " <qso_date:8>2023" << 1001 + i % 28 << " <time_on:6>"
            << 100000 + i % 86400 << " <band:3>20m <mode:3>FT8 <rst_sent:3>-10 <comment:24>a comment to fill a line <eor>\n";
    if (!log)
        throw std::runtime_error("cannot write " + path.string());
    return path;
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    // In one piece, not a character a call: under the sanitizers the window
    // tests spent seconds reading back their logs a character at a time.
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void writeBytes(const std::filesystem::path& path, std::string_view content)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::filesystem::path samplesFolder()
{
    std::error_code error;
    return std::filesystem::is_directory(LOGWEAVE_SAMPLES_DIR, error) ? std::filesystem::path(LOGWEAVE_SAMPLES_DIR)
                                                                       : std::filesystem::path{};
}

}  // namespace logweave::testing
