#include "merging/group_table.h"

#include "prefetch.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace logweave {
namespace {

std::size_t slotsFor(std::size_t groups)
{
    return std::bit_ceil(std::max<std::size_t>(16, groups + groups / 3 + 1));
}

}  // namespace

GroupKey GroupKey::of(std::string_view name) noexcept
{
    return {name, std::hash<std::string_view>{}(name)};
}

GroupTable::GroupTable(std::size_t expected) : slots_(slotsFor(expected), Slot{kEmpty, 0})
{
    starts_.reserve(expected + 1);
}

std::size_t GroupTable::slotOf(const GroupKey& group) const
{
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(group.hash >> 32);
    for (std::size_t i = group.hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.number == kEmpty || (slot.hashTag == tag && nameOf(slot.number) == group.name))
            return i;
    }
}

void GroupTable::prefetch(const GroupKey& group) const noexcept
{
    logweave::prefetch(&slots_[group.hash & (slots_.size() - 1)]);
}

std::string_view GroupTable::nameOf(std::uint32_t number) const noexcept
{
    return {names_.data() + starts_[number], starts_[number + 1] - starts_[number]};
}

std::uint32_t GroupTable::enter(const GroupKey& group)
{
    Slot& slot = slots_[slotOf(group)];
    if (slot.number != kEmpty)
        return slot.number;
    const auto number = static_cast<std::uint32_t>(size());
    slot = {number, static_cast<std::uint32_t>(group.hash >> 32)};
    names_.insert(names_.end(), group.name.begin(), group.name.end());
    starts_.push_back(names_.size());
    if (size() > slots_.size() / 4 * 3)
        grow();
    return number;
}

std::optional<std::uint32_t> GroupTable::find(const GroupKey& group) const
{
    const Slot& slot = slots_[slotOf(group)];
    if (slot.number == kEmpty)
        return std::nullopt;
    return slot.number;
}

void GroupTable::grow()
{
    slots_.assign(slots_.size() * 2, Slot{kEmpty, 0});
    for (std::uint32_t n = 0; n < size(); ++n) {
        const GroupKey group = GroupKey::of(nameOf(n));
        slots_[slotOf(group)] = {n, static_cast<std::uint32_t>(group.hash >> 32)};
    }
}

}  // namespace logweave
