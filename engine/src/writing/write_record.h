#pragma once
// The one layout of every ADIF file the program writes: a header line, then
// one line a record, fields in field-table order, each value followed by a blank.

#include "logweave/field_table.h"
#include "logweave/output_options.h"
#include "logweave/record.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

// A field's name as written: upper case as the table holds it, or lower case.
std::string outputFieldName(const FieldTable& fields, int index, bool upperCase);

// Written names of the table's fields, made once per operation (a table that
// grows meanwhile is followed).
class OutputNames {
public:
    OutputNames(const FieldTable& fields, bool upperCase) : fields_(fields), upperCase_(upperCase) {}

    // A field item is opening, length, closing, value and a blank: "<call:" 5 ">".
    // The type suffix (":D") stands in the closing, after the length. Both
    // are kept in arrays of fixed size, copied whole, where they fit: each
    // record line is written in room with kSpare bytes to spare.
    static constexpr std::size_t kShortOpening = 32;
    static constexpr std::size_t kSpare = kShortOpening;
    struct Name {
        std::array<char, kShortOpening> shortOpening{};
        std::array<char, 4> closing{};
        std::uint8_t closingSize = 0;
        std::string opening;  // the whole, of any length
    };
    const Name& operator[](int field)
    {
        const auto f = static_cast<std::size_t>(field);
        return f < names_.size() ? names_[f] : grow(f);
    }

private:
    const Name& grow(std::size_t field);

    const FieldTable& fields_;
    bool upperCase_;
    std::vector<Name> names_;
};

// The fields of a record on the current line, "<name:length:type>value " each; no line end.
void writeRecord(std::string& out, std::span<const FieldText> fields, OutputNames& names);
void writeRecord(std::string& out, const Record& record, OutputNames& names);

// The end tag, the blank line if any and the line break that close every record line.
void writeRecordEnd(std::string& out, const OutputForm& form);

// The header text, the blank line if any and a line break.
void writeHeaderLine(std::string& out, const OutputForm& form, std::string_view header);

// The header of merged and filtered files: the added log's, the open log's
// or the program's, as the form says; the open log's stands in for an added
// log without one.
std::string chooseHeader(std::string_view openHeader, std::string_view addedHeader, const OutputForm& form);

}  // namespace logweave
