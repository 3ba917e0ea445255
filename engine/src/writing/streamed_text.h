#pragma once
// The text of a file being written, built a record at a time and handed to
// the file a block at a time: a file never stands whole in memory.

#include "logweave/file_system.h"

#include <string>
#include <string_view>

namespace logweave {

class StreamedText {
public:
    explicit StreamedText(FileWriter& file) : file_(file) { text_.reserve(kBlock + kBlock / 4); }

    std::string& text() noexcept { return text_; }
    // After each record: a full block goes to the file.
    void recordDone()
    {
        if (text_.size() >= kBlock)
            flush();
    }
    void finish() { flush(); }
    // Text made apart, after what this holds.
    void write(std::string_view block)
    {
        if (!text_.empty())
            flush();
        if (!block.empty())
            file_.write(block);
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    void flush()
    {
        file_.write(text_);
        text_.clear();
    }

    FileWriter& file_;
    std::string text_;
};

}  // namespace logweave
