#include "logweave/log_store.h"

namespace logweave {

const Record& LogStore::record(int r) const noexcept
{
    static const Record empty;
    if (r < 0 || static_cast<std::size_t>(r) >= records_.size())
        return empty;
    return records_[static_cast<std::size_t>(r)];
}

void LogStore::setScratch(Record r)
{
    records_.front() = std::move(r);
}

std::vector<Record> LogStore::replaceLog(std::vector<Record> log)
{
    log.insert(log.begin(), std::move(records_.front()));
    std::swap(records_, log);
    log.erase(log.begin());
    OpenRecordCount = static_cast<int>(records_.size()) - 1;
    return log;
}

void LogStore::ClearRecord(int r)
{
    if (r >= 0 && static_cast<std::size_t>(r) < records_.size())
        records_[static_cast<std::size_t>(r)].ClearRecord();
}

}  // namespace logweave
