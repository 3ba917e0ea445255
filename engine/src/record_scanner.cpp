#include "record_scanner.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"

#include <algorithm>
#include <functional>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

std::string_view baseName(std::string_view fieldName) noexcept
{
    return fieldName.substr(0, fieldName.find(':'));
}

// A short, printable piece of text for the pane.
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

}  // namespace

RecordScanner::RecordScanner(std::shared_ptr<const std::string> text, std::size_t from, FieldTable& fields)
    : source_(std::move(text)), text_(*source_), next_(text_.find('<', std::min(from, text_.size()))), fields_(fields)
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
        // One pass over the tag: its end and its first two colons.
        std::size_t gt = p + 1;
        std::size_t colon = npos;
        std::size_t typeColon = npos;
        for (; gt < text_.size() && text_[gt] != '>'; ++gt) {
            if (text_[gt] != ':')
                continue;
            if (colon == npos)
                colon = gt;
            else if (typeColon == npos)
                typeColon = gt;
        }
        if (gt == text_.size())
            return finish(start, p, true);
        if (colon == npos)
            colon = gt;
        const std::string_view name = text_.substr(p + 1, colon - p - 1);
        // "<CALL:5:>" has an empty type: its ">" is no type letter, or the tag
        // would be written back as "<call:5:>>" and read as a value.
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

std::size_t RecordScanner::hashOf(std::string_view name, std::string_view type) noexcept
{
    // FNV-1a: tag names are short.
    std::size_t h = 14695981039346656037u;
    for (const std::string_view part : {name, type})
        for (const char c : part)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return h;
}

int RecordScanner::fieldOf(std::size_t ordinal, std::string_view name, std::string_view type)
{
    if (ordinal < names_.size() && names_[ordinal].name == name && names_[ordinal].type == type)
        return names_[ordinal].field;
    std::size_t slot = hashOf(name, type) % kSpellingSlots;
    while (spellings_[slot].field != 0 && !(spellings_[slot].name == name && spellings_[slot].type == type))
        slot = (slot + 1) % kSpellingSlots;
    int field = spellings_[slot].field;
    if (field == 0) {
        std::string full = upperCased(name);
        full += type;
        field = fields_.findOrAdd(full);
        if (spellingCount_ < kSpellingSlots / 2) {
            spellings_[slot] = {name, type, field};
            ++spellingCount_;
        }
    }
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

Record RecordScanner::makeRecord(std::size_t start, std::size_t end)
{
    ++records_;
    std::vector<FieldValue> values;
    values.reserve(values_.size());
    std::copy_if(values_.begin(), values_.end(), std::back_inserter(values),
                 [](const FieldValue& v) { return v.size != 0; });
    const auto byField = [](const FieldValue& a, const FieldValue& b) { return a.field < b.field; };
    if (!std::is_sorted(values.begin(), values.end(), byField))
        std::sort(values.begin(), values.end(), byField);
    return Record(source_, start, end - start, std::move(values));
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

void reportScanEnd(UserInterface& ui, const RecordScanner& scanner)
{
    if (scanner.lastWasCutShort())
        ui.appendToPane(pane::recordCutShort(static_cast<int>(scanner.recordsRead()), scanner.cutShortIdentification()));
    else if (!scanner.unreadText().empty())
        ui.appendToPane(pane::textNotRead(excerpt(scanner.unreadText())));
}

std::size_t findEndOfHeader(std::string_view text) noexcept
{
    // The whole text is searched for each spelling in turn: a skipping search
    // keeps that quick when a log holds none of the first.
    for (const std::string_view tag : {"<EOH>", "<eoh>", "<Eoh>"}) {
        const auto at = std::search(text.begin(), text.end(), std::boyer_moore_horspool_searcher(tag.begin(), tag.end()));
        if (at != text.end())
            return static_cast<std::size_t>(at - text.begin());
    }
    return npos;
}

}  // namespace logweave
