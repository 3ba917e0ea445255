#include "reading/field_namer.h"

#include "logweave/text.h"

namespace logweave {

std::size_t FieldNamer::SpellingHash::operator()(const Spelling& s) const noexcept
{
    // FNV-1a: tag names are short.
    std::size_t h = 14695981039346656037u;
    for (const std::string_view part : {s.name, s.type})
        for (const char c : part)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return h;
}

std::uint32_t FieldNamer::lookUp(std::string_view name, std::string_view type)
{
    const auto known = spellings_.find({name, type});
    return known != spellings_.end() ? known->second : remember(name, type);
}

std::uint32_t FieldNamer::remember(std::string_view name, std::string_view type)
{
    std::string full = upperCased(name);
    full += type;
    const auto field = static_cast<std::uint32_t>(table_.findOrAdd(full));
    spellings_.emplace(Spelling{name, type}, field);
    if (kinds_.size() <= field)
        kinds_.resize(field + 1, Kind::Other);
    if (equalsIgnoringCase(name, "CALL"))
        kinds_[field] = Kind::Call;
    else if (equalsIgnoringCase(name, "QSO_DATE"))
        kinds_[field] = Kind::Date;
    else if (equalsIgnoringCase(name, "TIME_ON"))
        kinds_[field] = Kind::Time;
    else if (equalsIgnoringCase(name, "EOH"))
        kinds_[field] = Kind::EndOfHeader;
    return field;
}

}  // namespace logweave
