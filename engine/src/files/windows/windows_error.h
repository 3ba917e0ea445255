#pragma once
// Windows' error codes as the engine reports them: the common ones as the
// same reasons POSIX gives, a file another program holds as such.

#include <system_error>

namespace logweave {

std::error_code windowsError(unsigned long error) noexcept;
// The error GetLastError holds.
std::error_code lastError() noexcept;
// Another program has the file open, in a way that forbids what was asked.
std::error_code heldOpenError() noexcept;

// Whether `error` says that another program has the file open.
bool isSharingError(unsigned long error) noexcept;

}  // namespace logweave
