#include "recording_interface.h"

namespace logweave::testing {

Settlement RecordingInterface::settleConflict(const Conflict& conflict)
{
    conflicts.push_back({std::string(conflict.field), std::string(conflict.open), std::string(conflict.added),
                         conflict.openRecord});
    if (answers.empty())
        return {std::string(conflict.open), std::nullopt};
    Settlement answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace logweave::testing
