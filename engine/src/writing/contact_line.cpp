#include "writing/contact_line.h"

#include "logweave/text.h"

#include <bit>

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

}  // namespace

ContactLineWriter::ContactLineWriter(const StandardFields& idx)
{
    const int fields[kColumns] = {idx.qsoDate,  idx.timeOn,  idx.qsoDateOff, idx.timeOff, idx.call,
                                  idx.gridsquare, idx.freq, idx.mode,       idx.submode, idx.rstSent,
                                  idx.rstRcvd,  idx.txPwr,   idx.comment,    idx.name};
    for (int c = 0; c < kColumns; ++c) {
        // Index 0 is a field the log lacks: its column stays empty.
        if (fields[c] <= 0)
            continue;
        const auto f = static_cast<std::size_t>(fields[c]);
        if (columns_.size() <= f)
            columns_.resize(f + 1, 0);
        columns_[f] |= static_cast<std::uint16_t>(1U << c);
    }
}

void ContactLineWriter::write(std::string& out, const Record& record) const
{
    Values values;
    for (const FieldValue& v : record.values())
        take(values, v.field, record.valueOf(v));
    writeLine(out, values);
}

void ContactLineWriter::write(std::string& out, std::span<const FieldText> fields) const
{
    Values values;
    for (const FieldText& f : fields)
        take(values, static_cast<std::uint32_t>(f.field), f.value);
    writeLine(out, values);
}

void ContactLineWriter::take(Values& values, std::uint32_t field, std::string_view value) const noexcept
{
    for (std::uint16_t columns = columnsOf(field); columns != 0; columns &= static_cast<std::uint16_t>(columns - 1))
        values[static_cast<std::size_t>(std::countr_zero(columns))] = value;
}

void ContactLineWriter::writeLine(std::string& out, const Values& values)
{
    appendDate(out, values[kDate]);
    out += ',';
    appendTime(out, values[kTime]);
    out += ',';
    if (!values[kDateOff].empty())
        appendDate(out, values[kDateOff]);
    out += ',';
    if (!values[kTimeOff].empty())
        appendTime(out, values[kTimeOff]);
    // The mode column shows the submode where there is one.
    const std::string_view mode = values[kSubmode].empty() ? values[kMode] : values[kSubmode];
    for (const std::string_view column : {values[kCall], values[kGridsquare], values[kFreq], mode, values[kRstSent],
                                          values[kRstRcvd], values[kTxPwr], values[kComment], values[kName]}) {
        out += ',';
        out += column;
    }
    out += kCrLf;
}

}  // namespace logweave
