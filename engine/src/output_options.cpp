#include "logweave/output_options.h"

#include <charconv>

namespace logweave {

std::optional<int> windowMinutes(std::string_view digits) noexcept
{
    int minutes = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), minutes);
    if (error != std::errc{} || end != digits.data() + digits.size() || minutes <= 0)
        return std::nullopt;
    return minutes;
}

}  // namespace logweave
