#pragma once
// Reads the records of an ADIF text one at a time: a tag is "<" up to ">", its
// value runs to the next "<", a record ends at a tag named EOR in any letter
// case. Field names enter the field table as they are met.

#include "logweave/field_table.h"
#include "logweave/record.h"
#include "logweave/user_interface.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

class RecordScanner {
public:
    // Records keep a share of `text`, the log they come from.
    RecordScanner(std::shared_ptr<const std::string> text, std::size_t from, FieldTable& fields);

    // The next record; nullopt when the text holds no further record.
    std::optional<Record> next();

    // After the last record: whether it was a contact cut short by the end of
    // the text (and which), or which text was left unread.
    bool lastWasCutShort() const noexcept { return cutShort_; }
    long long recordsRead() const noexcept { return records_; }
    const std::string& cutShortIdentification() const noexcept { return identification_; }
    std::string_view unreadText() const noexcept { return unread_; }

private:
    struct CachedName {
        std::string_view name;
        std::string_view type;
        int field;
    };
    // A name as written, with its type, and the field it was found to be.
    struct Spelling {
        std::string_view name;
        std::string_view type;
        int field = 0;  // 0: a free slot
    };
    static std::size_t hashOf(std::string_view name, std::string_view type) noexcept;
    int fieldOf(std::size_t ordinal, std::string_view name, std::string_view type);
    void setValue(int field, std::uint32_t offset, std::uint32_t size);
    Record makeRecord(std::size_t start, std::size_t end);
    std::optional<Record> finish(std::size_t start, std::size_t stop, bool atLoneTag);

    std::shared_ptr<const std::string> source_;
    std::string_view text_;
    std::size_t next_;
    FieldTable& fields_;

    std::vector<CachedName> names_;  // by tag ordinal: records repeat their layout
    // Names as written, once looked up: an open-addressed table, half of it used at most.
    static constexpr std::size_t kSpellingSlots = 1024;
    std::array<Spelling, kSpellingSlots> spellings_{};
    std::size_t spellingCount_ = 0;
    std::vector<FieldValue> values_;
    std::array<std::uint32_t, kMaxFields + 1> stamp_{};
    std::array<std::uint32_t, kMaxFields + 1> slot_{};
    std::uint32_t generation_ = 0;

    long long records_ = 0;
    bool cutShort_ = false;
    std::string identification_;
    std::string_view unread_;
};

// What the end of the text left, said in the pane: a contact completed, or text not read.
void reportScanEnd(UserInterface& ui, const RecordScanner& scanner);

// First "<EOH>", else "<eoh>", else "<Eoh>": the spellings that end a header.
std::size_t findEndOfHeader(std::string_view text) noexcept;

}  // namespace logweave
