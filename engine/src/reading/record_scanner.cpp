#include "reading/record_scanner.h"

#include "logweave/outcome.h"
#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "reading/tag.h"
#include "logweave/log.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

std::string_view baseName(std::string_view fieldName) noexcept
{
    return fieldName.substr(0, fieldName.find(':'));
}

// The call, date and time of a record, in field order.
std::string identification(const Record& record, const FieldTable& fields)
{
    std::string out;
    for (const FieldValue& v : record.values()) {
        const auto base = baseName(fields.name(static_cast<int>(v.field)));
        if (base != "CALL" && base != "QSO_DATE" && base != "TIME_ON")
            continue;
        if (!out.empty())
            out += ' ';
        out += record.valueOf(v);
    }
    return out;
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

using Spellings = std::array<std::string_view, 3>;
constexpr Spellings kEndTags{"<EOR>", "<eor>", "<Eor>"};
constexpr Spellings kEndOfHeaderTags{"<EOH>", "<eoh>", "<Eoh>"};

TagSpelling spellingAt(std::string_view text, std::size_t at, const Spellings& spellings) noexcept
{
    const std::string_view here = text.substr(at, 5);
    for (std::size_t i = 0; i < spellings.size(); ++i)
        if (here == spellings[i])
            return static_cast<TagSpelling>(i);
    return TagSpelling::None;
}

}  // namespace

ScanSummary& ScanSummary::operator+=(const ScanSummary& later) noexcept
{
    end = later.end;
    for (std::size_t i = 0; i < endTags.size(); ++i)
        endTags[i] += later.endTags[i];
    tangled = tangled || later.tangled;
    endOfHeaderMet = std::min(endOfHeaderMet, later.endOfHeaderMet);
    return *this;
}

RecordScanner::RecordScanner(std::string_view text, std::size_t from, FieldNamer& namer, std::size_t until)
    : text_(text), next_(text.find('<', std::min(from, text.size()))), until_(until), namer_(namer)
{
}

bool RecordScanner::next(ScannedRecord& record)
{
    if (next_ == npos || next_ >= until_)
        return false;
    const std::size_t start = next_;
    record.values.clear();
    ++generation_;
    for (std::size_t p = start;;) {
        const Tag tag = readTag(text_, p);
        if (tag.gt == npos)
            return stop(record, start, p, true);
        summary_.tangled = summary_.tangled || tag.holdsLt;
        if (endsARecord(tag))
            return endRecord(record, start, p, tag.gt);
        const std::uint32_t field = namer_.fieldOf(tag.name, tag.type);
        if (namer_.kindOf(field) == FieldNamer::Kind::EndOfHeader)
            noteEndOfHeader(p, tag.gt);
        const std::size_t following = text_.find('<', tag.gt + 1);
        const std::size_t valueEnd = following == npos ? text_.size() : following;
        const auto value = trimValueEnd(text_.substr(tag.gt + 1, valueEnd - tag.gt - 1));
        setValue(record, field, tag.gt + 1 - start, value.size());
        if (following == npos)
            return stop(record, start, text_.size(), false);
        p = following;
    }
}

bool RecordScanner::endRecord(ScannedRecord& record, std::size_t start, std::size_t lt, std::size_t gt)
{
    if (const TagSpelling spelling = spellingAt(text_, lt, kEndTags); spelling != TagSpelling::None)
        ++summary_.endTags[static_cast<std::size_t>(spelling)];
    next_ = text_.find('<', gt + 1);
    keep(record, start, lt);
    return true;
}

void RecordScanner::noteEndOfHeader(std::size_t lt, std::size_t gt)
{
    if (gt == lt + 4)
        summary_.endOfHeaderMet = std::min(summary_.endOfHeaderMet, endOfHeaderSpelling(text_, lt));
}

void RecordScanner::setValue(ScannedRecord& record, std::uint32_t field, std::size_t offset, std::size_t size)
{
    // A record of over 4 GiB is none the program could show or write sensibly.
    if (offset + size > std::numeric_limits<std::uint32_t>::max())
        throw OperationStopped(pane::recordTooLarge());
    if (field >= stamp_.size()) {
        stamp_.resize(field + 1, 0);
        slot_.resize(field + 1, 0);
    }
    const FieldValue value{field, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(size)};
    if (stamp_[field] == generation_) {
        record.values[slot_[field]] = value;  // a field met again in the record: the later value stands
        return;
    }
    stamp_[field] = generation_;
    slot_[field] = static_cast<std::uint32_t>(record.values.size());
    record.values.push_back(value);
}

void RecordScanner::keep(ScannedRecord& record, std::size_t start, std::size_t end)
{
    if (end - start > std::numeric_limits<std::uint32_t>::max())
        throw OperationStopped(pane::recordTooLarge());
    record.begin = start;
    record.length = end - start;
    std::erase_if(record.values, [](const FieldValue& v) { return v.size == 0; });
    const auto byField = [](const FieldValue& a, const FieldValue& b) { return a.field < b.field; };
    if (!std::is_sorted(record.values.begin(), record.values.end(), byField))
        std::sort(record.values.begin(), record.values.end(), byField);
}

bool RecordScanner::stop(ScannedRecord& record, std::size_t start, std::size_t end, bool atLoneTag)
{
    next_ = npos;
    // A contact cut short keeps what it has; fields of anything else are not a record.
    const auto identifies = [this](const FieldValue& v) {
        const auto kind = namer_.kindOf(v.field);
        return v.size != 0
            && (kind == FieldNamer::Kind::Call || kind == FieldNamer::Kind::Date || kind == FieldNamer::Kind::Time);
    };
    if (std::any_of(record.values.begin(), record.values.end(), identifies)) {
        keep(record, start, end);
        summary_.end.cutShort = true;
        return true;
    }
    const bool anyValue =
        std::any_of(record.values.begin(), record.values.end(), [](const FieldValue& v) { return v.size != 0; });
    if (anyValue || atLoneTag)
        summary_.end.unread = text_.substr(start);
    return false;
}

void reportScanEnd(UserInterface& ui, const ScanEnd& end, const Log& log, const FieldTable& fields)
{
    if (end.cutShort && !log.empty())
        ui.appendToPane(pane::recordCutShort(static_cast<long long>(log.size()), identification(log[log.size() - 1], fields)));
    else if (!end.unread.empty())
        ui.appendToPane(pane::textNotRead(excerpt(end.unread)));
}

TagSpelling endOfHeaderSpelling(std::string_view text, std::size_t at) noexcept
{
    return spellingAt(text, at, kEndOfHeaderTags);
}

EndTagCounts countEndTags(std::string_view text) noexcept
{
    EndTagCounts counts{};
    for (std::size_t i = 0; i < kEndTags.size(); ++i) {
        const std::string_view tag = kEndTags[i];
        const std::boyer_moore_horspool_searcher searcher(tag.begin(), tag.end());
        for (auto at = std::search(text.begin(), text.end(), searcher); at != text.end();
             at = std::search(at + static_cast<std::ptrdiff_t>(tag.size()), text.end(), searcher))
            ++counts[i];
    }
    return counts;
}

std::size_t findEndOfHeader(std::string_view text) noexcept
{
    // The whole text is searched for each spelling in turn: a skipping search
    // keeps that quick when a log holds none of the first.
    for (const std::string_view tag : kEndOfHeaderTags) {
        const auto at = std::search(text.begin(), text.end(), std::boyer_moore_horspool_searcher(tag.begin(), tag.end()));
        if (at != text.end())
            return static_cast<std::size_t>(at - text.begin());
    }
    return npos;
}

}  // namespace logweave
