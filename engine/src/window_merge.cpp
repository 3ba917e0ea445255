#include "window_merge.h"

#include "window_pairing.h"
#include "write_merged_record.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace logweave {
namespace {

constexpr std::string_view kNul("\0", 1);

// Where a record stands in the merged log: its date, then its time in six
// digits. The order is that of the one text date, NUL, time and "00" after a
// time of four digits, compared piece by piece so that no text is made.
struct Order {
    std::array<std::string_view, 4> pieces;

    bool operator<(const Order& other) const noexcept
    {
        std::size_t i = 0;
        std::size_t j = 0;
        std::string_view a = pieces[0];
        std::string_view b = other.pieces[0];
        for (;;) {
            while (a.empty() && ++i < pieces.size())
                a = pieces[i];
            while (b.empty() && ++j < pieces.size())
                b = other.pieces[j];
            if (a.empty() || b.empty())
                return a.empty() && !b.empty();
            const std::size_t n = std::min(a.size(), b.size());
            if (const int c = a.substr(0, n).compare(b.substr(0, n)); c != 0)
                return c < 0;
            a.remove_prefix(n);
            b.remove_prefix(n);
        }
    }
};

Order orderOf(const ContactFields& fields, const Record& record)
{
    const auto [date, time] = fields.dateAndTime(record);
    return {{date, kNul, time, time.size() == 4 ? "00" : ""}};
}

struct Pairs {
    std::vector<std::size_t> partner;  // by open record: 1 + the added record it pairs with, or 0
    std::vector<std::size_t> unpaired;  // added records, in their order
};

Pairs pairUp(const Log& open, const Log& added, const ContactFields& fields, int minutes)
{
    WindowPairing pairing(open, fields, 60LL * minutes);
    Pairs pairs{std::vector<std::size_t>(open.size(), 0), {}};
    for (std::size_t j = 0; j < added.size(); ++j) {
        if (const auto i = pairing.pair(added[j]))
            pairs.partner[*i] = j + 1;
        else
            pairs.unpaired.push_back(j);
    }
    return pairs;
}

}  // namespace

void mergeWithinWindow(const LogStore& store, const Log& added, int minutes, MergedOutput& out,
                       ConflictSettler& settler, MergeCounts& counts)
{
    const Log& open = store.openLog();
    const ContactFields fields(store.fields);
    const Pairs pairs = pairUp(open, added, fields, minutes);
    MergedFields merged;
    // The first unpaired added record not yet written, and where it stands.
    std::size_t u = 0;
    Order head = pairs.unpaired.empty() ? Order{} : orderOf(fields, added[pairs.unpaired[0]]);
    const auto writeAddedBefore = [&](const Order& order) {
        while (u < pairs.unpaired.size() && head < order) {
            out.write(added[pairs.unpaired[u]]);
            ++counts.added;
            if (++u < pairs.unpaired.size())
                head = orderOf(fields, added[pairs.unpaired[u]]);
        }
    };
    for (std::size_t i = 0; i < open.size(); ++i) {
        writeAddedBefore(orderOf(fields, open[i]));
        if (pairs.partner[i] == 0) {
            out.write(open[i]);
            continue;
        }
        const Record& partner = added[pairs.partner[i] - 1];
        if (open[i].text() == partner.text()) {
            out.write(open[i]);
            ++counts.identical;
            continue;
        }
        // The contact's date and time are those of the open log, without a question.
        WriteMergedRecord(open[i], partner, static_cast<long long>(i) + 1, settler, merged,
                          [&fields](int field) { return fields.isDateOrTime(field); });
        out.write(merged.fields);
        ++counts.different;
    }
    for (; u < pairs.unpaired.size(); ++u, ++counts.added)
        out.write(added[pairs.unpaired[u]]);
}

}  // namespace logweave
