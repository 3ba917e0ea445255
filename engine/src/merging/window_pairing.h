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

// Which records of the two logs pair.
struct WindowPairs {
    BigVector<std::size_t> partner;     // by open record: 1 + the added record it pairs with, or 0
    std::vector<std::size_t> unpaired;  // added records, in their order
};

class WindowPairing {
public:
    // The groups of `open`, read by `openFields`, are worked out on a second
    // of `threads` while they are entered.
    WindowPairing(const Log& open, const ContactFields& openFields, long long windowSeconds, std::size_t threads);

    // Each record of `added`, read by `addedFields`, in turn takes the open
    // record it pairs with, if any. Where each would look is found on
    // `threads`. Once only: every table is let go on the way, so the writing
    // that follows has their memory.
    WindowPairs pairEach(const Log& added, const ContactFields& addedFields, std::size_t threads) &&;

private:
    static constexpr std::uint32_t kNoGroup = UINT32_MAX;
    struct Entry {
        long long start;
        std::size_t open;
        auto operator<=>(const Entry&) const = default;
    };
    // Where an added record looks: its group, if the open log has it, and its start.
    struct Place {
        std::uint32_t group;
        bool known;
        long long start;
    };
    void sortIntoGroups(const BigVector<std::uint32_t>& groupOf, const BigVector<long long>& startOf);
    void markAllFree(std::size_t entries);
    BigVector<Place> placesOf(const Log& added, const ContactFields& fields, std::size_t threads) const;
    std::optional<std::size_t> nearest(std::size_t from, std::size_t to, long long start);
    std::size_t nextFree(std::size_t i);
    std::size_t previousFree(std::size_t i);
    void take(std::size_t i);

    long long window_;
    std::size_t openRecords_;
    std::optional<GroupTable> groups_;
    BigVector<Entry> entries_;  // by group, then start and place in the open log
    BigVector<std::size_t> groupEnd_;  // group g's entries end at groupEnd_[g]
    // Taken entries are skipped: next_[i] leads to the first free entry at or
    // after i, previous_[i + 1] to the last free one at or before i.
    BigVector<std::size_t> next_;
    BigVector<std::size_t> previous_;
};

}  // namespace logweave
