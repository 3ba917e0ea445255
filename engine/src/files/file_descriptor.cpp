#include "files/file_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <utility>

namespace logweave {
namespace {

std::error_code notRegular(mode_t mode)
{
    if (S_ISDIR(mode))
        return NotRegularFile::Folder;
    if (S_ISFIFO(mode))
        return NotRegularFile::NamedPipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return NotRegularFile::Device;
    if (S_ISSOCK(mode))
        return NotRegularFile::Socket;
    return NotRegularFile::Other;
}

}  // namespace

FileDescriptor::~FileDescriptor()
{
    // Dropped on the way out of a failure: the errno that failure left is the one reported.
    const int error = errno;
    static_cast<void>(close());
    errno = error;
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        static_cast<void>(close());
        calls_ = other.calls_;
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release() noexcept
{
    return std::exchange(fd_, -1);
}

int FileDescriptor::close() noexcept
{
    if (fd_ < 0)
        return 0;
    // Never tried again, not even after EINTR: the descriptor is gone
    // whatever close returns, and its number may already be another's.
    return calls_->close(release()) == 0 ? 0 : errno;
}

FileDescriptor openFile(const SystemCalls& calls, const char* path, int flags, mode_t mode)
{
    for (;;) {
        const int fd = calls.open(path, flags, mode);
        if (fd >= 0 || errno != EINTR)
            return {calls, fd};
    }
}

FileDescriptor openRegularFile(const SystemCalls& calls, const std::filesystem::path& path, FileError::Action action)
{
    const auto refuse = [&](std::error_code why) { throw FileError(action, path, why); };
    // Looked at before it is opened: opening a device acts on it (a serial
    // port raises its control lines, which a station's interface may take
    // as the order to transmit).
    struct stat info {};
    if (calls.stat(path.c_str(), &info) != 0)
        refuse(systemError(errno));
    if (!S_ISREG(info.st_mode))
        refuse(notRegular(info.st_mode));
    // Another file may take the name meanwhile: O_NONBLOCK keeps a named pipe
    // from holding the open until a writer comes, and what is opened is
    // looked at again.
    FileDescriptor fd = openFile(calls, path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (!fd)
        refuse(systemError(errno));
    if (calls.fstat(fd.get(), &info) != 0)
        refuse(systemError(errno));
    if (!S_ISREG(info.st_mode))
        refuse(notRegular(info.st_mode));
    // Not every file system ignores O_NONBLOCK on a regular file. F_SETFL sets
    // only such status flags, and this was the one asked for.
    if (calls.fcntl(fd.get(), F_SETFL, 0) != 0)
        refuse(systemError(errno));
    return fd;
}

}  // namespace logweave
