#include "record_scanner.h"

#include "logweave/text.h"

#include <algorithm>
#include <cstring>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

std::size_t findBefore(std::string_view text, char c, std::size_t from, std::size_t limit) noexcept
{
    if (from >= limit)
        return npos;
    const void* hit = std::memchr(text.data() + from, c, limit - from);
    return hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

std::string_view baseName(std::string_view fieldName) noexcept
{
    return fieldName.substr(0, fieldName.find(':'));
}

}  // namespace

RecordScanner::RecordScanner(std::string_view text, std::size_t from, FieldTable& fields)
    : text_(text), next_(text.find('<', std::min(from, text.size()))), fields_(fields)
{
}

std::optional<Record> RecordScanner::next()
{
    if (next_ == npos)
        return std::nullopt;
    const std::size_t start = next_;
    std::size_t p = start;
    values_.clear();
    ++generation_;
    for (std::size_t ordinal = 0;; ++ordinal) {
        const std::size_t gt = text_.find('>', p);
        if (gt == npos)
            return finish(start, p, true);
        std::size_t colon = findBefore(text_, ':', p, gt);
        if (colon == npos)
            colon = gt;
        const std::string_view name = text_.substr(p + 1, colon - p - 1);
        // "<CALL:5:>" has an empty type: its ">" is no type letter, or the tag
        // would be written back as "<call:5:>>" and read as a value.
        const std::size_t typeColon = findBefore(text_, ':', colon + 1, gt);
        const std::string_view type =
            typeColon == npos || typeColon + 1 == gt ? std::string_view{} : text_.substr(typeColon, 2);
        if (type.empty() && equalsIgnoringCase(name, "EOR")) {
            next_ = text_.find('<', gt + 1);
            return makeRecord(start, p);
        }
        const int field = fieldOf(ordinal, name, type);
        const std::size_t following = text_.find('<', gt + 1);
        const std::size_t valueEnd = following == npos ? text_.size() : following;
        const auto value = trimValueEnd(text_.substr(gt + 1, valueEnd - gt - 1));
        setValue(field, static_cast<std::uint32_t>(gt + 1 - start), static_cast<std::uint32_t>(value.size()));
        if (following == npos)
            return finish(start, text_.size(), false);
        p = following;
    }
}

int RecordScanner::fieldOf(std::size_t ordinal, std::string_view name, std::string_view type)
{
    if (ordinal < names_.size() && names_[ordinal].name == name && names_[ordinal].type == type)
        return names_[ordinal].field;
    std::string full = upperCased(name);
    full += type;
    const int field = fields_.findOrAdd(full);
    if (ordinal >= names_.size())
        names_.resize(ordinal + 1);
    names_[ordinal] = {name, type, field};
    return field;
}

void RecordScanner::setValue(int field, std::uint32_t offset, std::uint32_t size)
{
    const auto f = static_cast<std::size_t>(field);
    const FieldValue value{static_cast<std::int16_t>(field), offset, size};
    if (stamp_[f] == generation_) {
        values_[slot_[f]] = value;  // a field met again in the record: the later value stands
        return;
    }
    stamp_[f] = generation_;
    slot_[f] = static_cast<std::uint32_t>(values_.size());
    values_.push_back(value);
}

Record RecordScanner::makeRecord(std::size_t start, std::size_t end) const
{
    std::vector<FieldValue> values;
    values.reserve(values_.size());
    std::copy_if(values_.begin(), values_.end(), std::back_inserter(values),
                 [](const FieldValue& v) { return v.size != 0; });
    const auto byField = [](const FieldValue& a, const FieldValue& b) { return a.field < b.field; };
    if (!std::is_sorted(values.begin(), values.end(), byField))
        std::sort(values.begin(), values.end(), byField);
    return Record(std::string(text_.substr(start, end - start)), std::move(values));
}

std::optional<Record> RecordScanner::finish(std::size_t start, std::size_t stop, bool atLoneTag)
{
    next_ = npos;
    // A contact cut short keeps what it has; fields of anything else are not a record.
    const auto identifies = [this](const FieldValue& v) {
        const auto base = baseName(fields_.FieldNames(v.field));
        return v.size != 0 && (base == "CALL" || base == "QSO_DATE" || base == "TIME_ON");
    };
    if (std::any_of(values_.begin(), values_.end(), identifies)) {
        Record record = makeRecord(start, stop);
        for (const auto& v : record.values()) {
            if (!identifies(v))
                continue;
            if (!identification_.empty())
                identification_ += ' ';
            identification_ += record.valueOf(v);
        }
        cutShort_ = true;
        return record;
    }
    const bool anyValue = std::any_of(values_.begin(), values_.end(), [](const FieldValue& v) { return v.size != 0; });
    if (anyValue || atLoneTag)
        unread_ = text_.substr(start);
    return std::nullopt;
}

std::size_t findEndOfHeader(std::string_view text) noexcept
{
    for (const std::string_view tag : {"<EOH>", "<eoh>", "<Eoh>"}) {
        if (const auto pos = text.find(tag); pos != npos)
            return pos;
    }
    return npos;
}

std::string excerpt(std::string_view text)
{
    constexpr std::size_t kLength = 80;
    std::string_view piece = text.substr(0, kLength);
    if (piece.size() < text.size()) {
        // Do not cut a UTF-8 character in two.
        while (!piece.empty() && (static_cast<unsigned char>(text[piece.size()]) & 0xC0u) == 0x80u)
            piece.remove_suffix(1);
    }
    std::string out(piece);
    std::replace_if(out.begin(), out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    if (piece.size() < text.size())
        out += "...";
    return out;
}

}  // namespace logweave
