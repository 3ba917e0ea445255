#include "logweave/log_store.h"

#include <stdexcept>
#include <utility>

namespace logweave {

const Record& LogStore::record(long long r) const
{
    if (r < 1 || r > openRecordCount())
        throw std::out_of_range("record " + std::to_string(r) + " of a log of " + std::to_string(openRecordCount()));
    return log_[static_cast<std::size_t>(r - 1)];
}

Log LogStore::replaceLog(Log log)
{
    return std::exchange(log_, std::move(log));
}

}  // namespace logweave
