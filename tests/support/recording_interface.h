#pragma once
// The engine's user in tests: keeps the pane, hands out set options, answers
// conflicts from a script and remembers what each conflict showed.

#include "logweave/user_interface.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace logweave::testing {

struct SeenConflict {
    std::string field;  // as written
    std::string open;
    std::string added;
    long long record;
};

class RecordingInterface final : public UserInterface {
public:
    void appendToPane(std::string_view utf8) override { pane += utf8; }
    OutputOptions outputOptions() override { return options; }
    bool showOptionsDialog() override { return true; }
    Settlement settleConflict(const Conflict& conflict) override
    {
        conflicts.push_back({std::string(conflict.field), std::string(conflict.open), std::string(conflict.added),
                             conflict.openRecord});
        if (answers.empty())
            return {std::string(conflict.open), std::nullopt};
        Settlement answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::string pane;
    OutputOptions options;
    std::vector<SeenConflict> conflicts;
    // Answers in order; when none is left, the open log's value (as Enter would).
    std::deque<Settlement> answers;
};

}  // namespace logweave::testing
