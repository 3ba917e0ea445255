#pragma once
// What every engine operation works with: the store, the user, the files.

#include "logweave/file_system.h"
#include "logweave/log_store.h"
#include "logweave/user_interface.h"

namespace logweave {

struct Session {
    LogStore& store;
    UserInterface& ui;
    FileSystem& files;
};

}  // namespace logweave
