#pragma once
// How many times `what` occurs in `text`, none overlapping: the records of a
// written log, counted by their end tags.

#include <string_view>

namespace logweave::testing {

inline long long countOf(std::string_view text, std::string_view what)
{
    long long n = 0;
    for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

}  // namespace logweave::testing
