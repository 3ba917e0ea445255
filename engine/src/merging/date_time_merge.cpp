#include "merging/date_time_merge.h"

#include "logweave/text.h"
#include "merging/record_merger.h"

#include <deque>
#include <memory>
#include <unordered_map>

namespace logweave {
namespace {

// What an open record of the second being merged turned into: free, it is
// written as it stands; taken, it is merged with its added record. After the
// open records of a second come the added records of their own.
struct Outcome {
    enum class Kind { Free, Merged, Added } kind = Kind::Free;
    const Record* open = nullptr;
    const Record* added = nullptr;
    MergedFields merged;
};

// The open records of one date and time, waiting for the added records of
// that date and time. An added record is the contact of the first free open
// record of the same text, else of the first free one of its call, else of
// the first free one where either names no call.
class Second {
public:
    Second(const Log& open, const StandardFields& idx, std::size_t begin, std::size_t end)
        : open_(open), idx_(idx), begin_(begin), outcomes_(end - begin)
    {
    }

    std::size_t begin() const noexcept { return begin_; }
    std::size_t end() const noexcept { return begin_ + outcomes_.size(); }
    Outcome& outcomeOf(std::size_t i) { return outcomes_[i - begin_]; }

    // The open record `added` is the contact of, then taken; none.
    std::optional<std::size_t> take(const Record& added)
    {
        const auto found = outcomes_.size() <= kScanned ? findByScan(added) : findInIndex(added);
        if (found) {
            outcomeOf(*found).kind = Outcome::Kind::Merged;  // settled by the caller
            ++taken_;
        }
        return found;
    }

    bool allTaken() const noexcept { return taken_ == outcomes_.size(); }

    // Written after the open records of the second, in their order: added
    // records of other calls, and the log's last record merged once more.
    std::vector<Outcome> after;

private:
    // Records of a second are few in any real log; a log without dates and
    // times is one second of them all, looked up through an index.
    static constexpr std::size_t kScanned = 32;

    std::string_view callOf(const Record& record) const { return record.value(idx_.call); }
    bool isFree(std::size_t i) { return outcomeOf(i).kind == Outcome::Kind::Free; }

    std::optional<std::size_t> findByScan(const Record& added)
    {
        const std::string_view call = callOf(added);
        std::optional<std::size_t> sameCall;
        std::optional<std::size_t> withoutCall;
        for (std::size_t i = begin_; i < end(); ++i) {
            if (!isFree(i))
                continue;
            if (open_[i].text() == added.text())
                return i;
            const std::string_view openCall = callOf(open_[i]);
            if (!sameCall && !call.empty() && equalsIgnoringCase(openCall, call))
                sameCall = i;
            if (!withoutCall && (call.empty() || openCall.empty()))
                withoutCall = i;
        }
        return sameCall ? sameCall : withoutCall;
    }

    struct Index {
        std::unordered_map<std::string_view, std::deque<std::size_t>> byText;
        std::unordered_map<std::string, std::deque<std::size_t>> byCall;
        std::deque<std::size_t> withoutCall;
        std::deque<std::size_t> all;
    };

    std::optional<std::size_t> findInIndex(const Record& added)
    {
        if (!index_)
            index_ = indexOpenRecords();
        if (const auto same = index_->byText.find(added.text()); same != index_->byText.end())
            if (const auto i = firstFree(same->second))
                return i;
        const std::string_view call = callOf(added);
        if (call.empty())
            return firstFree(index_->all);
        if (const auto same = index_->byCall.find(upperCased(call)); same != index_->byCall.end())
            if (const auto i = firstFree(same->second))
                return i;
        return firstFree(index_->withoutCall);
    }

    std::unique_ptr<Index> indexOpenRecords() const
    {
        auto index = std::make_unique<Index>();
        for (std::size_t i = begin_; i < end(); ++i) {
            index->byText[open_[i].text()].push_back(i);
            index->all.push_back(i);
            if (const std::string_view call = callOf(open_[i]); call.empty())
                index->withoutCall.push_back(i);
            else
                index->byCall[upperCased(call)].push_back(i);
        }
        return index;
    }

    // Taken records stay in the queues until they reach the front.
    std::optional<std::size_t> firstFree(std::deque<std::size_t>& queue)
    {
        while (!queue.empty() && !isFree(queue.front()))
            queue.pop_front();
        if (queue.empty())
            return std::nullopt;
        return queue.front();
    }

    const Log& open_;
    const StandardFields& idx_;
    std::size_t begin_;
    std::vector<Outcome> outcomes_;
    std::size_t taken_ = 0;
    std::unique_ptr<Index> index_;
};

class WalkInStep {
public:
    WalkInStep(const LogsToMerge& logs, MergedOutput& out, ConflictSettler& settler, MergeCounts& counts)
        : open_(logs.open), idx_(logs.standard), out_(out), merger_(logs.fields, settler), counts_(counts)
    {
    }

    void place(const Record& added)
    {
        if (second_) {
            const int order = compareContacts(added, open_[second_->begin()]);
            if (order == 0) {
                placeInSecond(added);
                return;
            }
            // An added log out of order: a record earlier than the open record
            // the walk stands at is written where it stands.
            if (order < 0 && !second_->allTaken()) {
                writeAdded(added);
                return;
            }
            finishSecond();
        }
        while (next_ < open_.size() && compareContacts(added, open_[next_]) > 0)
            out_.writeOpen(open_[next_++]);
        if (next_ < open_.size() && compareContacts(added, open_[next_]) == 0) {
            beginSecond();
            placeInSecond(added);
            return;
        }
        // Once every open record is written, added records still meet the last one.
        if (next_ == open_.size() && !open_.empty() && compareContacts(added, open_[open_.size() - 1]) == 0
            && sameContactAsLast(added)) {
            Outcome again;
            settle(open_.size() - 1, added, again);
            write(again);
            return;
        }
        writeAdded(added);
    }

    void finish()
    {
        if (second_)
            finishSecond();
        for (; next_ < open_.size(); ++next_)
            out_.writeOpen(open_[next_]);
    }

private:
    int compareContacts(const Record& added, const Record& open) const
    {
        if (const int c = added.value(idx_.qsoDate).compare(open.value(idx_.qsoDate)); c != 0)
            return c;
        return added.value(idx_.timeOn).compare(open.value(idx_.timeOn));
    }

    void beginSecond()
    {
        std::size_t end = next_ + 1;
        while (end < open_.size() && compareContacts(open_[end], open_[next_]) == 0)
            ++end;
        second_.emplace(open_, idx_, next_, end);
    }

    void placeInSecond(const Record& added)
    {
        if (const auto i = second_->take(added)) {
            settle(*i, added, second_->outcomeOf(*i));
            writeSettledRecords();
            return;
        }
        // Once the log's last record is taken, the added records of its second still meet it.
        if (second_->end() == open_.size() && second_->outcomeOf(open_.size() - 1).kind != Outcome::Kind::Free
            && sameContactAsLast(added)) {
            second_->after.emplace_back();
            settle(open_.size() - 1, added, second_->after.back());
            return;
        }
        second_->after.push_back({Outcome::Kind::Added, nullptr, &added, {}});
        ++counts_.added;
    }

    // Two records of the same text need no merging: the open one stands for both.
    void settle(std::size_t i, const Record& added, Outcome& outcome)
    {
        outcome.kind = Outcome::Kind::Merged;
        outcome.open = &open_[i];
        outcome.merged.clear();
        if (open_[i].text() != added.text())
            merger_.merge(open_[i], added, static_cast<long long>(i) + 1, outcome.merged);
        ++(outcome.merged.changes.empty() ? counts_.identical : counts_.different);
    }

    // The open records of the second, in their order, as far as each is settled.
    void writeSettledRecords()
    {
        for (; next_ < second_->end(); ++next_) {
            Outcome& outcome = second_->outcomeOf(next_);
            if (outcome.kind == Outcome::Kind::Free)
                return;
            write(outcome);
        }
    }

    void write(Outcome& outcome)
    {
        if (outcome.kind == Outcome::Kind::Merged)
            out_.writeMerged(*outcome.open, std::move(outcome.merged));
        else
            out_.writeAdded(*outcome.added);
        outcome.merged.clear();
    }

    // Whether the log's last open record would be `added`'s contact again.
    bool sameContactAsLast(const Record& added) const
    {
        const std::string_view call = added.value(idx_.call);
        const std::string_view last = open_[open_.size() - 1].value(idx_.call);
        return call.empty() || last.empty() || equalsIgnoringCase(call, last);
    }

    void finishSecond()
    {
        for (; next_ < second_->end(); ++next_) {
            Outcome& outcome = second_->outcomeOf(next_);
            if (outcome.kind == Outcome::Kind::Free)
                out_.writeOpen(open_[next_]);
            else
                write(outcome);
        }
        for (Outcome& after : second_->after)
            write(after);
        second_.reset();
    }

    void writeAdded(const Record& added)
    {
        out_.writeAdded(added);
        ++counts_.added;
    }

    const Log& open_;
    const StandardFields& idx_;
    MergedOutput& out_;
    RecordMerger merger_;
    MergeCounts& counts_;
    std::size_t next_ = 0;  // the first open record not yet written
    std::optional<Second> second_;
};

}  // namespace

void mergeAtSameDateAndTime(const LogsToMerge& logs, MergedOutput& out, ConflictSettler& settler, MergeCounts& counts)
{
    WalkInStep walk(logs, out, settler, counts);
    for (const Record& record : logs.added)
        walk.place(record);
    walk.finish();
}

}  // namespace logweave
