#pragma once
// A file written beside its target under a hidden name, then put in place by
// a rename or a link. Until then the target is untouched; a temporary file
// that is never put in place is removed.

#include "files/file_descriptor.h"
#include "logweave/file_system.h"
#include "logweave/system_calls.h"

#include <functional>
#include <optional>
#include <utility>

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
    // Called once when the disk is full; true when it may have made room,
    // and the write is made again.
    void whenFull(std::function<bool()> makeRoom) { makeRoom_ = std::move(makeRoom); }
    // The bytes of the file at `source`, read and written a block at a time;
    // a source that cannot be read is a failure to `sourceAction` it.
    void copyFrom(const std::filesystem::path& source, FileError::Action sourceAction);

    struct Finish {
        mode_t mode;
        bool durable;  // on the disk before it is put in place
        std::optional<std::pair<uid_t, gid_t>> owner = std::nullopt;
    };
    // Closes it, ready to be put in place; a close that fails counts.
    void finish(const Finish& how);

    void renameOver(const std::filesystem::path& place);
    // Puts it in place only where no file stands; false when one does.
    bool linkAs(const std::filesystem::path& place);

    const std::filesystem::path& path() const noexcept { return path_; }

private:
    [[noreturn]] void fail(int error) const;
    void writeAll(std::string_view bytes);

    const SystemCalls& calls_;
    std::filesystem::path target_;
    FileError::Action action_;
    std::filesystem::path shown_;
    std::filesystem::path path_;
    FileDescriptor fd_;
    std::function<bool()> makeRoom_;
    off_t written_ = 0;
    off_t writtenOut_ = 0;
    bool placed_ = false;
};

// Where the program's own files are created: the permissions a new file gets.
mode_t defaultFileMode(const SystemCalls& calls);

// After a rename, the folder's entry reaches the disk too.
void syncFolder(const SystemCalls& calls, const std::filesystem::path& folder);

}  // namespace logweave
