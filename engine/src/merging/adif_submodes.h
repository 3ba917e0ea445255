#pragma once
// ADIF's Submode enumeration as of ADIF 3.1.7: every submode with the mode it
// belongs to, upper case, sorted by submode in byte order.

#include <optional>
#include <span>
#include <string_view>

namespace logweave {

struct AdifSubmode {
    std::string_view submode;
    std::string_view mode;
};

std::span<const AdifSubmode> adifSubmodes() noexcept;

// The mode `submode` belongs to; none when it is not an ADIF submode. The
// lookup is by exact bytes: upper-case the submode first.
std::optional<std::string_view> modeOfSubmode(std::string_view submode) noexcept;

}  // namespace logweave
