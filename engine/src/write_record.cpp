#include "logweave/write_record.h"

#include "logweave/text.h"

#include <array>
#include <charconv>

namespace logweave {

std::string OutputFieldName(const FieldTable& fields, int index, bool upperCase)
{
    const std::string& name = fields.FieldNames(index);
    return upperCase ? name : lowerCased(name);
}

const OutputNames::Name& OutputNames::operator[](int field)
{
    const auto f = static_cast<std::size_t>(field);
    while (names_.size() <= f) {
        const int index = static_cast<int>(names_.size());
        Name name;
        if (index != 0) {
            // The type is split where the table's name has its colon; the two
            // characters there (":D") follow the length.
            const std::string written = OutputFieldName(fields_, index, upperCase_);
            const auto colon = fields_.FieldNames(index).find(':');
            name.head = written.substr(0, colon);
            if (colon != std::string::npos)
                name.type = written.substr(colon, 2);
        }
        names_.push_back(std::move(name));
    }
    return names_[f];
}

void writeField(std::string& out, const OutputNames::Name& name, std::string_view value)
{
    std::array<char, 16> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value.size());
    out += '<';
    out += name.head;
    out += ':';
    out.append(digits.data(), end);
    out += name.type;
    out += '>';
    out += value;
    out += ' ';
}

void WriteRecord(std::string& out, const Record& record, OutputNames& names)
{
    for (const FieldValue& v : record.values())
        writeField(out, names[v.field], record.valueOf(v));
}

void writeRecordEnd(std::string& out, const LogStore& store)
{
    out += store.EorTag;
    out += store.LineSpacer;
    out += kCrLf;
}

void writeHeaderLine(std::string& out, const LogStore& store, std::string_view header)
{
    out += header;
    out += store.LineSpacer;
    out += kCrLf;
}

}  // namespace logweave
