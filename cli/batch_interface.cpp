#include "batch_interface.h"

#include "logweave/log_store.h"

namespace logweave::cli {

void BatchInterface::appendToPane(std::string_view utf8)
{
    // Shown as it happens: a long update is followed line by line.
    std::fwrite(utf8.data(), 1, utf8.size(), out_);
    std::fflush(out_);
}

std::string BatchInterface::settleConflict(const LogStore& store)
{
    const auto open = store.FieldValues(store.ConflictField, store.ConflictRecord);
    const auto added = store.FieldValues(store.ConflictField, 0);
    switch (policy_) {
    case ConflictPolicy::Added:
        return std::string(added);
    case ConflictPolicy::Both:
        return std::string(open) + ' ' + std::string(added);
    case ConflictPolicy::Open:
        break;
    }
    return std::string(open);
}

}  // namespace logweave::cli
