#include "logweave/write_record.h"

#include "logweave/text.h"

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

void writeField(std::string& out, const OutputNames::Name& name, std::string_view value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value.size()).ptr;
    out.append(name.opening).append(digits, end).append(name.closing).append(value).push_back(' ');
}

}  // namespace

void WriteRecord(std::string& out, std::span<const FieldText> fields, OutputNames& names)
{
    for (const FieldText& f : fields)
        writeField(out, names[f.field], f.value);
}

void WriteRecord(std::string& out, const Record& record, OutputNames& names)
{
    for (const FieldValue& v : record.values())
        writeField(out, names[static_cast<int>(v.field)], record.valueOf(v));
}

void writeRecordEnd(std::string& out, const LogStore& store)
{
    out.append(store.EorTag).append(store.LineSpacer).append(kCrLf);
}

void writeHeaderLine(std::string& out, const LogStore& store, std::string_view header)
{
    out.append(header).append(store.LineSpacer).append(kCrLf);
}

std::string_view chooseHeader(const LogStore& store, HeaderSource source, std::string_view addedHeader)
{
    switch (source) {
    case HeaderSource::AddedLog:
        return addedHeader.empty() ? std::string_view(store.OpenHeader) : addedHeader;
    case HeaderSource::OpenLog:
        return store.OpenHeader;
    case HeaderSource::Program:
        break;
    }
    return store.ProgramHeader;
}

}  // namespace logweave
