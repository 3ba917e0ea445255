#include "writing/contact_line.h"

#include "logweave/text.h"

namespace logweave {
namespace {

std::string_view piece(std::string_view value, std::size_t from, std::size_t count)
{
    return from < value.size() ? value.substr(from, count) : std::string_view{};
}

// 20200822 gives 2020-08-22; a short value gives what it has.
void appendDate(std::string& out, std::string_view date)
{
    out.append(piece(date, 0, 4)).append("-").append(piece(date, 4, 2)).append("-").append(piece(date, 6, 2));
}

// 123456 gives 12:34:56, 1234 gives 12:34: .
void appendTime(std::string& out, std::string_view time)
{
    out.append(piece(time, 0, 2)).append(":").append(piece(time, 2, 2)).append(":").append(piece(time, 4, 2));
}

// `value` gives a field's value, empty when the record has none.
template <typename Value>
void writeContactLine(std::string& out, const StandardFields& idx, Value value)
{
    appendDate(out, value(idx.qsoDate));
    out += ',';
    appendTime(out, value(idx.timeOn));
    out += ',';
    if (const auto dateOff = value(idx.qsoDateOff); !dateOff.empty())
        appendDate(out, dateOff);
    out += ',';
    if (const auto timeOff = value(idx.timeOff); !timeOff.empty())
        appendTime(out, timeOff);
    const auto submode = value(idx.submode);
    for (const auto field : {idx.call, idx.gridsquare, idx.freq, -1, idx.rstSent,
                             idx.rstRcvd, idx.txPwr, idx.comment, idx.name}) {
        out += ',';
        // -1 stands for the mode column: the submode where there is one.
        out += field != -1 ? value(field) : (submode.empty() ? value(idx.mode) : submode);
    }
    out += kCrLf;
}

}  // namespace

void writeContactLine(std::string& out, const StandardFields& idx, std::span<const FieldText> fields)
{
    writeContactLine(out, idx, [fields](int field) { return valueIn(fields, field); });
}

void writeContactLine(std::string& out, const StandardFields& idx, const Record& record)
{
    writeContactLine(out, idx, [&record](int field) { return record.value(field); });
}

}  // namespace logweave
