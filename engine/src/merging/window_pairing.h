#pragma once
// Pairs added records with the open records of the same contact: for each
// added record, the nearest open record of its call, band and mode not yet
// paired, started within the window (of two as near, the earlier).

#include "merging/contact_identity.h"
#include "merging/group_table.h"
#include "logweave/big_vector.h"
#include "logweave/log.h"

#include <optional>
#include <string>
#include <vector>

namespace logweave {

class WindowPairing {
public:
    // The groups of `open` are worked out on a second of `threads` while they are entered.
    WindowPairing(const Log& open, const ContactFields& fields, long long windowSeconds, std::size_t threads);

    // For each record of `added` in turn, the open record (0-based) it pairs
    // with, then taken; none. Where each would look is found on `threads`.
    BigVector<std::optional<std::size_t>> pairEach(const Log& added, std::size_t threads);

private:
    struct Entry {
        std::uint32_t group;
        long long start;
        std::size_t open;
        auto operator<=>(const Entry&) const = default;
    };
    std::optional<std::size_t> nearest(std::size_t from, std::size_t to, long long start);
    std::size_t nextFree(std::size_t i);
    std::size_t previousFree(std::size_t i);
    void take(std::size_t i);

    const ContactFields& fields_;
    long long window_;
    GroupTable groups_;
    BigVector<Entry> entries_;  // by group, start and place in the open log
    BigVector<std::size_t> groupEnd_;
    // Taken entries are skipped: next_[i] leads to the first free entry at or
    // after i, previous_[i + 1] to the last free one at or before i.
    BigVector<std::size_t> next_;
    BigVector<std::size_t> previous_;
};

}  // namespace logweave
