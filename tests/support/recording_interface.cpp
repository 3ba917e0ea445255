#include "recording_interface.h"

namespace logweave::testing {

std::string RecordingInterface::settleConflict(const LogStore& store)
{
    const auto open = store.FieldValues(store.ConflictField, store.ConflictRecord);
    conflicts.push_back({store.fields.FieldNames(store.ConflictField), std::string(open),
                         std::string(store.FieldValues(store.ConflictField, 0)), store.ConflictRecord});
    if (answers.empty())
        return std::string(open);
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace logweave::testing
