#include "files/file_descriptor.h"

#include <cerrno>
#include <utility>

namespace logweave {

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

}  // namespace logweave
