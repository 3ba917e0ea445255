#include "field_namer.h"

#include "logweave/text.h"
#include "tag.h"

namespace logweave {

FieldNamer::FieldNamer(const FieldTable& table)
    : table_(table), firstWaiting_(static_cast<std::uint32_t>(table.FieldCount()) + 1),
      kinds_(firstWaiting_, Kind::Other), inRecord_(firstWaiting_, 0)
{
}

std::size_t FieldNamer::SpellingHash::operator()(const Spelling& s) const noexcept
{
    // FNV-1a: tag names are short.
    std::size_t h = 14695981039346656037u;
    for (const std::string_view part : {s.name, s.type})
        for (const char c : part)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return h;
}

std::uint32_t FieldNamer::remember(std::string_view name, std::string_view type)
{
    const std::uint32_t field = lookUp(name, type);
    spellings_.emplace(Spelling{name, type}, field);
    return field;
}

std::uint32_t FieldNamer::lookUp(std::string_view name, std::string_view type)
{
    std::string full = upperCased(name);
    full += type;
    if (const int found = table_.FindField(full); found != 0) {
        noteKind(static_cast<std::uint32_t>(found), name);
        return static_cast<std::uint32_t>(found);
    }
    const auto [it, added] = waiting_.try_emplace(upperCased(full), static_cast<std::uint32_t>(kinds_.size()));
    if (added) {
        kinds_.push_back(Kind::Other);
        inRecord_.push_back(0);
    }
    noteKind(it->second, name);
    return it->second;
}

void FieldNamer::noteKind(std::uint32_t field, std::string_view name)
{
    if (equalsIgnoringCase(name, "CALL"))
        kinds_[field] = Kind::Call;
    else if (equalsIgnoringCase(name, "QSO_DATE"))
        kinds_[field] = Kind::Date;
    else if (equalsIgnoringCase(name, "TIME_ON"))
        kinds_[field] = Kind::Time;
    else if (equalsIgnoringCase(name, "EOH"))
        kinds_[field] = Kind::EndOfHeader;
}

void FieldNamer::recordKept()
{
    for (const std::uint32_t field : noted_) {
        if (inRecord_[field])
            continue;
        inRecord_[field] = 1;
        ++inRecordCount_;
    }
    noted_.clear();
}

bool FieldNamer::enterFrom(std::string_view text, FieldTable& table, std::vector<std::uint32_t>& renumber,
                           std::size_t& left)
{
    for (std::size_t lt = text.find('<'); lt != std::string_view::npos && left > 0;) {
        const Tag tag = readTag(text, lt);
        if (tag.gt == std::string_view::npos)
            break;
        const auto known = spellings_.find({tag.name, tag.type});
        if (known != spellings_.end() && known->second >= firstWaiting_ && renumber[known->second] == 0) {
            std::string full = upperCased(tag.name);
            full += tag.type;
            table.AddField(full);
            renumber[known->second] = static_cast<std::uint32_t>(table.FieldCount());
            --left;
        }
        lt = text.find('<', tag.gt + 1);
    }
    return left > 0;
}

void FieldNamer::enterWaiting(Log& log, std::string_view tail, FieldTable& table)
{
    if (waiting_.empty())
        return;
    std::vector<std::uint32_t> renumber(kinds_.size(), 0);
    for (std::uint32_t f = 0; f < firstWaiting_; ++f)
        renumber[f] = f;
    // Names in records first, in the log's order; then those of the text left unread.
    std::size_t left = inRecordCount_;
    for (auto record = log.begin(); record != log.end() && enterFrom(record->text(), table, renumber, left); ++record) {
    }
    left = waiting_.size() - static_cast<std::size_t>(table.FieldCount() + 1 - firstWaiting_);
    enterFrom(tail, table, renumber, left);
    bool identity = true;
    for (std::uint32_t f = firstWaiting_; f < renumber.size(); ++f) {
        if (renumber[f] != 0)
            continue;
        // Every name read is in a record or in the tail; should one not be, its values still keep a field.
        std::string full;
        for (const auto& [name, field] : waiting_)
            if (field == f)
                full = name;
        table.AddField(full);
        renumber[f] = static_cast<std::uint32_t>(table.FieldCount());
    }
    for (std::uint32_t f = firstWaiting_; f < renumber.size(); ++f)
        identity = identity && renumber[f] == f;
    if (!identity)
        log.renumberFields(renumber);
}

}  // namespace logweave
