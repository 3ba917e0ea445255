#include "merging/group_table.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace logweave {
namespace {

std::uint64_t hashOf(std::string_view group) noexcept
{
    return std::hash<std::string_view>{}(group);
}

std::size_t slotsFor(std::size_t groups)
{
    return std::bit_ceil(std::max<std::size_t>(16, groups + groups / 3 + 1));
}

}  // namespace

GroupTable::GroupTable(std::size_t expected) : slots_(slotsFor(expected), Slot{kEmpty, 0})
{
    starts_.reserve(expected + 1);
}

std::size_t GroupTable::slotOf(std::string_view group, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.number == kEmpty || (slot.hashTag == tag && nameOf(slot.number) == group))
            return i;
    }
}

std::string_view GroupTable::nameOf(std::uint32_t number) const noexcept
{
    return std::string_view(names_).substr(starts_[number], starts_[number + 1] - starts_[number]);
}

std::uint32_t GroupTable::enter(std::string_view group)
{
    const std::uint64_t hash = hashOf(group);
    Slot& slot = slots_[slotOf(group, hash)];
    if (slot.number != kEmpty)
        return slot.number;
    const auto number = static_cast<std::uint32_t>(size());
    slot = {number, static_cast<std::uint32_t>(hash >> 32)};
    names_.append(group);
    starts_.push_back(names_.size());
    if (size() > slots_.size() / 4 * 3)
        grow();
    return number;
}

std::optional<std::uint32_t> GroupTable::find(std::string_view group) const
{
    const Slot& slot = slots_[slotOf(group, hashOf(group))];
    if (slot.number == kEmpty)
        return std::nullopt;
    return slot.number;
}

void GroupTable::grow()
{
    slots_.assign(slots_.size() * 2, Slot{kEmpty, 0});
    for (std::uint32_t n = 0; n < size(); ++n) {
        const std::uint64_t hash = hashOf(nameOf(n));
        slots_[slotOf(nameOf(n), hash)] = {n, static_cast<std::uint32_t>(hash >> 32)};
    }
}

}  // namespace logweave
