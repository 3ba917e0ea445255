#include "logweave/log_store.h"

#include <stdexcept>

namespace logweave {

const Record& LogStore::record(long long r) const
{
    if (r < 1 || r > openRecordCount())
        throw std::out_of_range("record " + std::to_string(r) + " of a log of " + std::to_string(openRecordCount()));
    return opened_.log[static_cast<std::size_t>(r - 1)];
}

LogStore LogStore::takeForCancel()
{
    LogStore taken = std::move(*this);
    close(taken.fields());
    addedHeader_ = taken.addedHeader_;
    return taken;
}

void LogStore::close(FieldTable fields)
{
    opened_ = OpenedLog{};
    opened_.fields = std::move(fields);
}

}  // namespace logweave
