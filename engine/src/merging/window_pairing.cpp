#include "merging/window_pairing.h"

#include "prefetch.h"
#include "side_by_side.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>

namespace logweave {

namespace {

// A stretch of open records: the start of each, and the group of each that has one.
struct Stretch {
    std::size_t from = 0;
    std::vector<std::optional<long long>> starts;
    std::string names;
    std::vector<std::size_t> nameEnds;
    std::vector<std::uint64_t> hashes;  // of the groups; 0 for a record without one

    void workOut(const Log& open, const ContactFields& fields, std::size_t first, std::size_t end)
    {
        from = first;
        starts.clear();
        names.clear();
        nameEnds.clear();
        hashes.clear();
        for (std::size_t i = first; i < end; ++i) {
            starts.push_back(fields.start(open[i]));
            const std::size_t nameStart = names.size();
            if (starts.back())
                fields.appendGroup(open[i], names);
            nameEnds.push_back(names.size());
            hashes.push_back(starts.back() ? GroupKey::of(std::string_view(names).substr(nameStart)).hash : 0);
        }
    }
    std::size_t size() const noexcept { return starts.size(); }
    // The group of record k, counted from `from`.
    GroupKey keyOf(std::size_t k) const
    {
        const std::size_t nameStart = k == 0 ? 0 : nameEnds[k - 1];
        return {std::string_view(names.data() + nameStart, nameEnds[k] - nameStart), hashes[k]};
    }
};

// How far ahead of its use a group's slot is fetched: enough to cover the
// wait for memory, no more than the cache keeps.
constexpr std::size_t kFetchAhead = 16;

// Frees what the vector holds, which clear() keeps.
template <class T>
void letGo(BigVector<T>& vector)
{
    BigVector<T>().swap(vector);
}

}  // namespace

WindowPairing::WindowPairing(const Log& open, const ContactFields& fields, long long windowSeconds,
                             std::size_t threads)
    // The table has room for a group a record.
    : window_(windowSeconds), openRecords_(open.size()), groups_(std::in_place, open.size())
{
    BigVector<std::uint32_t> groupOf(open.size());
    BigVector<long long> startOf(open.size());
    const auto enter = [&](const Stretch& stretch) {
        // Fetching the slots ahead: a million groups entered in 270 ms, not 340.
        for (std::size_t k = 0; k < stretch.size(); ++k) {
            if (k + kFetchAhead < stretch.size())
                groups_->prefetch(stretch.keyOf(k + kFetchAhead));
            const std::size_t i = stretch.from + k;
            groupOf[i] = kNoGroup;  // a record without a start time pairs with none
            if (!stretch.starts[k])
                continue;
            groupOf[i] = groups_->enter(stretch.keyOf(k));
            startOf[i] = *stretch.starts[k];
        }
    };
    // Groups are entered in the log's order while the next stretch's are
    // worked out beside: on a million records, 360 ms where the two took 550
    // one after the other. Entering takes less time than working out, so the
    // thread that enters works out each stretch's last fifth as well: a
    // million records' groups were then entered in 211 ms, not 251 (medians
    // of 7 runs).
    constexpr std::size_t kStretch = 32768;
    constexpr std::size_t kEnteringThreadsShare = kStretch / 5;
    using Parts = std::array<Stretch, 2>;
    Parts stretches[2];
    const Parts* workedOut = nullptr;
    const auto enterBoth = [&enter](const Parts& parts) {
        enter(parts[0]);
        enter(parts[1]);
    };
    for (std::size_t from = 0, k = 0; from < open.size(); from += kStretch, ++k) {
        Parts& parts = stretches[k % 2];
        const std::size_t end = std::min(open.size(), from + kStretch);
        const std::size_t split = end - std::min(end - from, kEnteringThreadsShare);
        runBoth(static_cast<unsigned>(threads), [&](std::size_t task) {
            if (task == 1) {
                parts[0].workOut(open, fields, from, split);
                return;
            }
            if (workedOut != nullptr)
                enterBoth(*workedOut);
            parts[1].workOut(open, fields, split, end);
        });
        workedOut = &parts;
    }
    if (workedOut != nullptr)
        enterBoth(*workedOut);
    sortIntoGroups(groupOf, startOf);
}

// A counting sort: each group's entries come in the log's order, which is
// that of their starts in a log in order. On a million records, 17 ms where
// sorting the entries whole took 60.
void WindowPairing::sortIntoGroups(const BigVector<std::uint32_t>& groupOf, const BigVector<long long>& startOf)
{
    groupEnd_.assign(groups_->size(), 0);
    std::size_t entries = 0;
    for (const std::uint32_t group : groupOf) {
        if (group != kNoGroup) {
            ++groupEnd_[group];
            ++entries;
        }
    }
    std::exclusive_scan(groupEnd_.begin(), groupEnd_.end(), groupEnd_.begin(), std::size_t{0});
    entries_.resize(entries);
    for (std::size_t i = 0; i < groupOf.size(); ++i)
        if (groupOf[i] != kNoGroup)
            entries_[groupEnd_[groupOf[i]]++] = {startOf[i], i};  // groupEnd_[g] ends up past group g
    for (std::size_t g = 0, from = 0; g < groupEnd_.size(); from = groupEnd_[g++]) {
        const auto first = entries_.begin() + static_cast<std::ptrdiff_t>(from);
        const auto last = entries_.begin() + static_cast<std::ptrdiff_t>(groupEnd_[g]);
        if (!std::is_sorted(first, last))
            std::sort(first, last);
    }
}

void WindowPairing::markAllFree(std::size_t entries)
{
    next_.resize(entries + 1);
    std::iota(next_.begin(), next_.end(), std::size_t{0});
    previous_ = next_;
}

namespace {

// Follows `links` from `i` to where it ends, and makes the links passed lead there at once.
std::size_t follow(BigVector<std::size_t>& links, std::size_t i)
{
    std::size_t end = i;
    while (links[end] != end)
        end = links[end];
    while (links[i] != end)
        i = std::exchange(links[i], end);
    return end;
}

}  // namespace

std::size_t WindowPairing::nextFree(std::size_t i)
{
    return follow(next_, i);  // entries_.size() when none is left
}

std::size_t WindowPairing::previousFree(std::size_t i)
{
    return follow(previous_, i);  // shifted by one: 0 stands for none before
}

void WindowPairing::take(std::size_t i)
{
    next_[i] = i + 1;
    previous_[i + 1] = i;
}

std::optional<std::size_t> WindowPairing::nearest(std::size_t from, std::size_t to, long long start)
{
    const auto at = std::lower_bound(entries_.begin() + static_cast<std::ptrdiff_t>(from),
                                     entries_.begin() + static_cast<std::ptrdiff_t>(to), start,
                                     [](const Entry& e, long long s) { return e.start < s; });
    const auto pos = static_cast<std::size_t>(at - entries_.begin());
    const std::size_t right = nextFree(pos);
    std::size_t left = previousFree(pos);  // shifted: entry left - 1
    const bool hasRight = right < to && entries_[right].start - start <= window_;
    bool hasLeft = left > from && start - entries_[left - 1].start <= window_;
    if (hasLeft) {
        // Of open records that started together, the one first in the log.
        const auto same = std::lower_bound(entries_.begin() + static_cast<std::ptrdiff_t>(from),
                                           entries_.begin() + static_cast<std::ptrdiff_t>(left),
                                           entries_[left - 1].start,
                                           [](const Entry& e, long long s) { return e.start < s; });
        left = nextFree(static_cast<std::size_t>(same - entries_.begin())) + 1;
    }
    if (hasLeft && (!hasRight || start - entries_[left - 1].start <= entries_[right].start - start))
        return left - 1;
    if (hasRight)
        return right;
    return std::nullopt;
}

BigVector<WindowPairing::Place> WindowPairing::placesOf(const Log& added, const ContactFields& fields,
                                                         std::size_t threads) const
{
    BigVector<Place> places(added.size());
    const std::size_t pieces = std::clamp<std::size_t>(added.size() / 16384, 1, std::max<std::size_t>(threads, 1));
    runSideBySide(pieces, [&](std::size_t p) {
        // A batch of groups is worked out and their slots fetched before any is
        // looked up: a million records in 185 ms, where 270 looked each up in turn.
        std::array<std::optional<long long>, kFetchAhead> starts;
        std::array<std::string, kFetchAhead> names;
        std::array<GroupKey, kFetchAhead> keys;
        const std::size_t end = (p + 1) * added.size() / pieces;
        for (std::size_t first = p * added.size() / pieces; first < end; first += kFetchAhead) {
            const std::size_t count = std::min(kFetchAhead, end - first);
            for (std::size_t b = 0; b < count; ++b) {
                starts[b] = fields.start(added[first + b]);
                if (!starts[b])
                    continue;
                names[b].clear();
                fields.appendGroup(added[first + b], names[b]);
                keys[b] = GroupKey::of(names[b]);
                groups_->prefetch(keys[b]);
            }
            for (std::size_t b = 0; b < count; ++b) {
                const auto group = starts[b] ? groups_->find(keys[b]) : std::nullopt;
                places[first + b] = {group.value_or(0), group.has_value(), starts[b].value_or(0)};
            }
        }
    });
    return places;
}

WindowPairs WindowPairing::pairEach(const Log& added, const ContactFields& addedFields, std::size_t threads) &&
{
    // Where each record looks reads the groups alone: the threads share that.
    // Which open record it takes depends on those taken before: that is done in turn.
    const BigVector<Place> places = placesOf(added, addedFields, threads);
    // The groups' names are done with. Freed before the links are laid, they
    // keep the merge's peak 28 MiB lower at a million records.
    groups_.reset();
    markAllFree(entries_.size());
    WindowPairs pairs{BigVector<std::size_t>(openRecords_, 0), {}};
    const auto groupStart = [this](const Place& place) { return place.group == 0 ? 0 : groupEnd_[place.group - 1]; };
    for (std::size_t j = 0; j < added.size(); ++j) {
        // Where a record's group ends is fetched two turns of kFetchAhead
        // before its own, its entries and their links one: on a million
        // records, pairing took 78 ms where it took 114 (medians of 7 runs).
        if (j + 2 * kFetchAhead < added.size() && places[j + 2 * kFetchAhead].known)
            prefetch(&groupEnd_[places[j + 2 * kFetchAhead].group]);
        if (j + kFetchAhead < added.size() && places[j + kFetchAhead].known) {
            const std::size_t ahead = groupStart(places[j + kFetchAhead]);
            prefetch(&entries_[ahead]);
            prefetch(&next_[ahead]);
            prefetch(&previous_[ahead]);
        }
        const Place& place = places[j];
        std::optional<std::size_t> entry;
        if (place.known)
            entry = nearest(groupStart(place), groupEnd_[place.group], place.start);
        if (!entry) {
            pairs.unpaired.push_back(j);
            continue;
        }
        take(*entry);
        pairs.partner[entries_[*entry].open] = j + 1;
    }
    letGo(entries_);
    letGo(groupEnd_);
    letGo(next_);
    letGo(previous_);
    return pairs;
}

}  // namespace logweave
