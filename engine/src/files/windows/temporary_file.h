#pragma once
// A file written beside its target under a name of its own, then put in
// place by a rename. Until then the target is untouched; a temporary file
// that is never put in place is removed.

#include "files/windows/file_handle.h"
#include "logweave/file_system.h"

namespace logweave {

class TemporaryFile final : public FileWriter {
public:
    // `target` is where it goes; errors name `shown`, the path the user knows.
    TemporaryFile(const SystemCalls& calls, std::filesystem::path target, FileError::Action action,
                  std::filesystem::path shown = {});
    ~TemporaryFile() override;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(std::string_view bytes) override;
    // The bytes of the file at `source`, read and written a block at a time;
    // a source that cannot be read is a failure to `sourceAction` it.
    void copyFrom(const std::filesystem::path& source, FileError::Action sourceAction);
    // Closes it, ready to be put in place, on the disk first when `durable`;
    // a close that fails counts.
    void finish(bool durable);

    // Puts it in place over the file there, waiting a while when another
    // program holds that file open; false when it holds it all along.
    bool replace(const std::filesystem::path& place);
    // Puts it in place only where no file stands; false when one does.
    bool placeWhereNone(const std::filesystem::path& place);

    const std::filesystem::path& path() const noexcept { return path_; }
    [[noreturn]] void fail(std::error_code error) const;

private:
    const SystemCalls& calls_;
    FileError::Action action_;
    std::filesystem::path shown_;
    std::filesystem::path path_;
    FileHandle handle_;
    bool placed_ = false;
};

// Writes all of `bytes` to `file`; false, the error left for GetLastError, when it cannot.
bool writeAll(const SystemCalls& calls, WinHandle file, std::string_view bytes);

}  // namespace logweave
