#include "logweave/write_record.h"

#include "logweave/text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace logweave {

std::string OutputFieldName(const FieldTable& fields, int index, bool upperCase)
{
    const std::string& name = fields.FieldNames(index);
    return upperCase ? name : lowerCased(name);
}

const OutputNames::Name& OutputNames::grow(std::size_t f)
{
    while (names_.size() <= f) {
        const int index = static_cast<int>(names_.size());
        Name name{"<", ">"};
        if (index != 0) {
            // The type is split where the table's name has its colon; the two
            // characters there (":D") follow the length.
            const std::string written = OutputFieldName(fields_, index, upperCase_);
            const auto colon = fields_.FieldNames(index).find(':');
            name.opening.append(written, 0, colon).append(":");
            if (colon != std::string::npos)
                name.closing = written.substr(colon, 2) + ">";
        }
        names_.push_back(std::move(name));
    }
    return names_[f];
}

namespace {

std::size_t decimalDigits(std::size_t n) noexcept
{
    std::size_t digits = 1;
    for (; n >= 10; n /= 10)
        ++digits;
    return digits;
}

}  // namespace

void writeField(std::string& out, const OutputNames::Name& name, std::string_view value)
{
    // The tag is put together apart, then added in one piece with its value.
    std::array<char, 96> tag;
    if (name.opening.size() + name.closing.size() + 20 > tag.size()) {
        out += name.opening;
        out += std::to_string(value.size());
        out += name.closing;
    } else {
        char* at = std::copy(name.opening.begin(), name.opening.end(), tag.data());
        at = std::to_chars(at, tag.data() + tag.size(), value.size()).ptr;
        at = std::copy(name.closing.begin(), name.closing.end(), at);
        out.append(tag.data(), static_cast<std::size_t>(at - tag.data()));
    }
    out += value;
    out += ' ';
}

void WriteRecord(std::string& out, const Record& record, OutputNames& names)
{
    // The line's length first, then one enlargement and plain copies: this
    // writes every record of every file.
    std::size_t length = 0;
    for (const FieldValue& v : record.values()) {
        const OutputNames::Name& name = names[v.field];
        length += name.opening.size() + decimalDigits(v.size) + name.closing.size() + v.size + 1;
    }
    std::size_t at = out.size();
    out.resize(at + length);
    char* p = out.data() + at;
    for (const FieldValue& v : record.values()) {
        const OutputNames::Name& name = names[v.field];
        p = std::copy(name.opening.begin(), name.opening.end(), p);
        p = std::to_chars(p, p + decimalDigits(v.size), v.size).ptr;
        p = std::copy(name.closing.begin(), name.closing.end(), p);
        const std::string_view value = record.valueOf(v);
        p = std::copy(value.begin(), value.end(), p);
        *p++ = ' ';
    }
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
