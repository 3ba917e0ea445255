#pragma once
// A fresh folder for one test, removed with it; small logs are written into it.

#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>

namespace logweave::testing {

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, std::string_view content);

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes `content` as it is (bytes, no line-end translation) and returns its path.
    std::filesystem::path write(std::string_view name, std::string_view content) const
    {
        writeBytes(path_ / name, content);
        return path_ / name;
    }
    // About `megabytes` MiB of one-line records, written as they are made, so
    // that the test's own memory stays small; returns its path.
    std::filesystem::path writeLargeLog(std::string_view name, int megabytes) const;
    std::string read(std::string_view name) const { return readBytes(path_ / name); }
    bool exists(std::string_view name) const { return std::filesystem::exists(path_ / name); }
    // Files and folders directly in it: a test's own, and no temporary one left.
    long entryCount() const
    {
        return static_cast<long>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

// The folder of sample logs from other programs; empty when it is absent.
std::filesystem::path samplesFolder();

}  // namespace logweave::testing
