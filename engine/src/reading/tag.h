#pragma once
// One ADIF tag read where its "<" stands: its name, its type, where it ends.

#include "logweave/text.h"

#include <string_view>

namespace logweave {

struct Tag {
    std::size_t gt;         // its ">"; npos when the text ends first
    std::string_view name;  // up to the first ":" (or the ">")
    std::string_view type;  // ":D" of "<QSO_DATE:8:D>"; empty when none
    bool holdsLt;           // a "<" inside it: a tag within the tag, for the eye
};

// The tag whose "<" is at `lt`. "<CALL:5:>" has an empty type: its ">" is no
// type letter, or the tag would be written back as "<call:5:>>".
inline Tag readTag(std::string_view text, std::size_t lt) noexcept
{
    Tag tag{std::string_view::npos, {}, {}, false};
    std::size_t colon = std::string_view::npos;
    std::size_t typeColon = std::string_view::npos;
    std::size_t gt = lt + 1;
    for (; gt < text.size() && text[gt] != '>'; ++gt) {
        const char c = text[gt];
        if (c == ':') {
            if (colon == std::string_view::npos)
                colon = gt;
            else if (typeColon == std::string_view::npos)
                typeColon = gt;
        } else if (c == '<') {
            tag.holdsLt = true;
        }
    }
    if (gt == text.size())
        return tag;
    tag.gt = gt;
    if (colon == std::string_view::npos)
        colon = gt;
    tag.name = text.substr(lt + 1, colon - lt - 1);
    if (typeColon != std::string_view::npos && typeColon + 1 != gt)
        tag.type = text.substr(typeColon, 2);
    return tag;
}

// "<EOR>" in any letter case, with no type: the tag that ends a record.
inline bool endsARecord(const Tag& tag) noexcept
{
    return tag.name.size() == 3 && equalsIgnoringCase(tag.name, "EOR") && tag.type.empty();
}

// A tag named `name` (upper case) at `lt`, its "<": the name, then ">" or ":".
inline bool isTagAt(std::string_view text, std::size_t lt, std::string_view name) noexcept
{
    const std::size_t after = lt + 1 + name.size();
    if (after >= text.size() || (text[after] != '>' && text[after] != ':'))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (asciiUpper(text[lt + 1 + i]) != name[i])
            return false;
    }
    return true;
}

}  // namespace logweave
