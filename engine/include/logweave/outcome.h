#pragma once
// How an operation ends. One that cannot go on stops with a pane text that
// says why; nothing it was about to write is left half-written.

#include <stdexcept>
#include <string>

namespace logweave {

enum class Outcome { Done, Stopped };

class OperationStopped : public std::runtime_error {
public:
    explicit OperationStopped(std::string paneText)
        : std::runtime_error(paneText), paneText_(std::move(paneText)) {}
    const std::string& paneText() const noexcept { return paneText_; }

private:
    std::string paneText_;
};

}  // namespace logweave
