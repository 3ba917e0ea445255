#pragma once
// Who else writes a file: the processes that hold it open for writing, as
// the system lists them under /proc.

#include <sys/types.h>

namespace logweave {

// Whether a process other than this one, among those this user may look
// into, holds the file open for writing; false where the system keeps no
// such list.
bool openForWritingByAnotherProcess(dev_t device, ino_t inode);

}  // namespace logweave
