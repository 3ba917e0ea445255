#include "writing/merged_output.h"

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
    appendDate(out, value(idx.Idx_QSO_DATE));
    out += ',';
    appendTime(out, value(idx.Idx_TIME_ON));
    out += ',';
    if (const auto dateOff = value(idx.Idx_QSO_DATE_OFF); !dateOff.empty())
        appendDate(out, dateOff);
    out += ',';
    if (const auto timeOff = value(idx.Idx_TIME_OFF); !timeOff.empty())
        appendTime(out, timeOff);
    const auto submode = value(idx.Idx_SUBMODE);
    for (const auto field : {idx.Idx_CALL, idx.Idx_GRIDSQUARE, idx.Idx_FREQ, -1, idx.Idx_RST_SENT,
                             idx.Idx_RST_RCVD, idx.Idx_TX_PWR, idx.Idx_COMMENT, idx.Idx_NAME}) {
        out += ',';
        // -1 stands for the mode column: the submode where there is one.
        out += field != -1 ? value(field) : (submode.empty() ? value(idx.Idx_MODE) : submode);
    }
    out += kCrLf;
}

}  // namespace

void WriteContactLine(std::string& out, const StandardFields& idx, std::span<const FieldText> fields)
{
    writeContactLine(out, idx, [fields](int field) { return valueIn(fields, field); });
}

void WriteContactLine(std::string& out, const StandardFields& idx, const Record& record)
{
    writeContactLine(out, idx, [&record](int field) { return record.value(field); });
}

}  // namespace logweave
