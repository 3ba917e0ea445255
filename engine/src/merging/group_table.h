#pragma once
// The groups of call, band and mode met in the open log, each numbered in
// the order first met. Flat: the names in one text and a table of slots
// pointing at them. A map of strings allocated a node for each group, and
// entering a million records took 700 ms of the window rule's merge.

#include "logweave/big_vector.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

// A group's name and its hash: worked out apart from the table, on another
// thread or ahead of its use.
struct GroupKey {
    std::string_view name;
    std::uint64_t hash = 0;

    static GroupKey of(std::string_view name) noexcept;
};

class GroupTable {
public:
    // Room for `expected` groups without growing.
    explicit GroupTable(std::size_t expected);

    // The group's number, given it when new.
    std::uint32_t enter(const GroupKey& group);
    // The group's number; none when it was never entered. Safe on many threads at once.
    std::optional<std::uint32_t> find(const GroupKey& group) const;
    // Brings the slot where the search for `group` starts into the cache. A
    // million groups entered or found in turn otherwise wait for each slot.
    void prefetch(const GroupKey& group) const noexcept;
    std::size_t size() const noexcept { return starts_.size() - 1; }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    struct Slot {
        std::uint32_t number;
        std::uint32_t hashTag;  // the hash's high half: most differing names differ there
    };

    // Where the group stands, or the empty slot where it would go.
    std::size_t slotOf(const GroupKey& group) const;
    std::string_view nameOf(std::uint32_t number) const noexcept;
    void grow();

    BigVector<char> names_;
    BigVector<std::size_t> starts_{0};  // group n's name runs from starts_[n] to starts_[n + 1]
    BigVector<Slot> slots_;  // a power of two of them, at most three quarters taken
};

}  // namespace logweave
