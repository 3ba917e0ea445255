#pragma once
// The real system calls, changed for a test the same way on every system:
// no other program writing and no waits, something done before each call or
// before a second name is given to a file, another program said to hold a
// file open for writing.

#include "logweave/system_calls.h"

#include <chrono>
#include <functional>
#include <utility>

namespace logweave::testing {

// `call` runs `before` first.
template <typename Result, typename... Arguments>
void runFirst(std::function<Result(Arguments...)>& call, const std::function<void()>& before)
{
    call = [real = call, before](Arguments... arguments) {
        before();
        return real(arguments...);
    };
}

// Whether another program is said to hold the files open for writing.
inline void reportWriters(SystemCalls& calls, bool held)
{
#ifdef _WIN32
    calls.openForWritingElsewhere = [held](const wchar_t*) { return held; };
#else
    calls.openForWritingElsewhere = [held](dev_t, ino_t) { return held; };
#endif
}

// The real calls, with no other program writing, counting the waits for
// them instead of waiting, and leaving the disk to write in its own time.
inline SystemCalls withoutWaits(int* waits = nullptr)
{
    SystemCalls calls = SystemCalls::real();
    reportWriters(calls, false);
    calls.pause = [waits](std::chrono::milliseconds) {
        if (waits)
            ++*waits;
    };
#ifdef _WIN32
    calls.flushFileBuffers = [](WinHandle) { return 1; };
#else
    calls.fsync = [](int) { return 0; };
#endif
    return calls;
}

inline void runBeforeEveryCall(SystemCalls& c, const std::function<void()>& before)
{
#ifdef _WIN32
    runFirst(c.createFile, before), runFirst(c.readFile, before), runFirst(c.writeFile, before);
    runFirst(c.seek, before), runFirst(c.flushFileBuffers, before), runFirst(c.closeHandle, before);
    runFirst(c.fileInformation, before), runFirst(c.fileAttributes, before), runFirst(c.moveFile, before);
    runFirst(c.createHardLink, before), runFirst(c.deleteFile, before);
#else
    runFirst(c.open, before), runFirst(c.read, before), runFirst(c.lseek, before), runFirst(c.write, before);
    runFirst(c.close, before), runFirst(c.fcntl, before), runFirst(c.fsync, before), runFirst(c.fchmod, before);
    runFirst(c.fchown, before), runFirst(c.fstat, before), runFirst(c.stat, before), runFirst(c.access, before);
    runFirst(c.makeTemporary, before), runFirst(c.rename, before), runFirst(c.link, before);
    runFirst(c.unlink, before), runFirst(c.umask, before);
#endif
    runFirst(c.openForWritingElsewhere, before), runFirst(c.pause, before);
}

// `before` runs first each time a file is given a second name.
inline void runBeforeSecondName(SystemCalls& c, const std::function<void()>& before)
{
#ifdef _WIN32
    runFirst(c.createHardLink, before);
#else
    runFirst(c.link, before);
#endif
}

}  // namespace logweave::testing
