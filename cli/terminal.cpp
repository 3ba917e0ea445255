#include "terminal.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace logweave::cli {

bool isTerminal(std::FILE* stream)
{
#ifdef _WIN32
    // _isatty also says yes for NUL, where a job sends what it does not read:
    // only a console has a console mode.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
#else
    return ::isatty(::fileno(stream)) == 1;
#endif
}

}  // namespace logweave::cli
