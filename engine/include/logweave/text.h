#pragma once
// Byte-level text helpers. Logs are bytes: nothing here changes a byte that
// is not an ASCII letter, so a value read is a value written.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace logweave {

inline constexpr std::string_view kCrLf = "\r\n";

constexpr char asciiUpper(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char asciiLower(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only the digits 0 to 9; an empty text is all digits.
constexpr bool allDigits(std::string_view text) noexcept
{
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::string upperCased(std::string_view text);
std::string lowerCased(std::string_view text);

// Equality after upper-casing both sides.
bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept;

// A value ends at the next tag; the blanks and line breaks before that tag are
// layout, not data.
std::string_view trimValueEnd(std::string_view value) noexcept;

// Calls `take` with each line of the text, without its line break (CR LF or a
// lone LF), until it returns false. A last line break ends the last line.
template <typename Take>
void forEachLine(std::string_view text, Take&& take)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!take(line))
            return;
    }
}

// A lone LF becomes CR LF, the line break of every file the program writes.
std::string withCrLf(std::string_view text);

// Leading and trailing space characters only.
std::string_view trimSpaces(std::string_view text) noexcept;

// Decimal text of a count, preceded by the blank that stands where a sign would.
std::string signedCount(long long count);

// Text for the screen: the bytes themselves when they are valid UTF-8,
// otherwise each byte read as Windows-1252 (its five unassigned bytes become
// the C1 controls of the same number, so every byte maps to one character).
bool isValidUtf8(std::string_view bytes) noexcept;
std::string displayText(std::string_view bytes);
std::string windows1252ToUtf8(std::string_view bytes);
// The way back, for text typed among values that were read as Windows-1252;
// nullopt when a character has no byte there.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

}  // namespace logweave
