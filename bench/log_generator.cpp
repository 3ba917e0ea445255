#include "log_generator.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <numeric>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace logweave::bench {
namespace {

// splitmix64: tiny, and its sequence is fixed by its definition.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // 0 to n - 1.
    int below(long long n) { return static_cast<int>(((next() >> 32) * static_cast<std::uint64_t>(n)) >> 32); }
    bool percent(int p) { return below(100) < p; }
    char letter(char first, int count) { return static_cast<char>(first + below(count)); }

    template <typename T>
    void shuffle(std::vector<T>& items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[static_cast<std::size_t>(below(static_cast<long long>(i)))]);
    }

private:
    std::uint64_t state_;
};

struct Field {
    std::string_view name;
    std::string value;
};
using Contact = std::vector<Field>;  // in the order written

struct Station {
    std::string call;
    std::string grid;
};

struct Band {
    std::string_view name;
    long long ft8DialHz;
    int weight;
};
constexpr std::array kBands{
    Band{"20m", 14074000, 30}, Band{"40m", 7074000, 20}, Band{"30m", 10136000, 10},
    Band{"17m", 18100000, 10}, Band{"15m", 21074000, 10}, Band{"10m", 28074000, 8},
    Band{"80m", 3573000, 6},   Band{"6m", 50313000, 6},
};

struct Mode {
    std::string_view mode;
    std::string_view submode;  // empty: none written
    long long dialOffsetHz;
    int weight;
};
constexpr std::array kModes{
    Mode{"FT8", "", 0, 65},     Mode{"MFSK", "FT4", 6000, 20}, Mode{"JT65", "", 2000, 5},
    Mode{"JT9", "", 4000, 5},   Mode{"MFSK", "Q65", -3000, 5},
};

constexpr std::array<std::string_view, 24> kPrefixes{
    "K", "W", "N", "AA", "KD", "VE", "G", "M", "DL", "F", "EA", "I",
    "SP", "OH", "JA", "VK", "ZL", "PY", "LU", "UA", "BI", "HA", "OK", "YO"};
constexpr std::array<std::string_view, 20> kSyllables{
    "an", "bo", "ca", "de", "el", "fi", "go", "ha", "ir", "jo", "ka", "lu", "ma", "ne", "or",
    "pe", "ra", "si", "to", "va"};
constexpr std::array<std::string_view, 5> kPowers{"5", "10", "25", "50", "100"};
constexpr std::array<std::string_view, 10> kComments{
    "tnx QSO", "73", "GL", "tnx fer QSO", "QSL via LoTW", "pse QSL", "first QSO", "tnx 73 GL", "POTA", "new one"};

template <typename Item, std::size_t N>
const Item& weighted(Random& rng, const std::array<Item, N>& items)
{
    int total = 0;
    for (const auto& item : items)
        total += item.weight;
    int roll = rng.below(total);
    for (const auto& item : items) {
        if (roll < item.weight)
            return item;
        roll -= item.weight;
    }
    return items.back();
}

template <typename Item, std::size_t N>
const Item& anyOf(Random& rng, const std::array<Item, N>& items)
{
    return items[static_cast<std::size_t>(rng.below(static_cast<int>(N)))];
}

std::string callsign(Random& rng)
{
    std::string call(anyOf(rng, kPrefixes));
    call += rng.letter('0', 10);
    for (int i = 0, n = 1 + rng.below(3); i < n; ++i)
        call += rng.letter('A', 26);
    return call;
}

std::string grid4(Random& rng)
{
    return {rng.letter('A', 18), rng.letter('A', 18), rng.letter('0', 10), rng.letter('0', 10)};
}

std::string digits(long long value, int width)
{
    std::string text = std::to_string(value);
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), '0') + text;
}

// Days since 1970-01-01 as YYYYMMDD (proleptic Gregorian).
std::string civilDate(long long days)
{
    days += 719468;
    const long long era = days / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return digits(year, 4) + digits(month, 2) + digits(day, 2);
}

std::string timeOfDay(long long seconds)
{
    const long long s = seconds % 86400;
    return digits(s / 3600, 2) + digits(s / 60 % 60, 2) + digits(s % 60, 2);
}

std::string report(int db)
{
    std::string text(1, db < 0 ? '-' : '+');
    return text.append(digits(db < 0 ? -db : db, 2));
}

std::string decimalMHz(long long hz)
{
    return std::to_string(hz / 1000000) + "." + digits(hz % 1000000, 6);
}

std::string personName(Random& rng)
{
    std::string name;
    for (int i = 0, n = 2 + rng.below(2); i < n; ++i)
        name += anyOf(rng, kSyllables);
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

// One contact of the station with `call` at `start` (seconds since 1970).
Contact makeContact(Random& rng, const Station& station, std::string call, long long start)
{
    const Band& band = weighted(rng, kBands);
    const Mode& mode = weighted(rng, kModes);
    const long long end = start + 45 + rng.below(150);

    Contact c;
    c.reserve(18);
    c.push_back({"call", std::move(call)});
    c.push_back({"gridsquare", rng.percent(95) ? grid4(rng) : std::string()});
    c.push_back({"mode", std::string(mode.mode)});
    if (!mode.submode.empty())
        c.push_back({"submode", std::string(mode.submode)});
    c.push_back({"rst_sent", report(rng.below(40) - 24)});
    c.push_back({"rst_rcvd", report(rng.below(40) - 24)});
    c.push_back({"qso_date", civilDate(start / 86400)});
    c.push_back({"time_on", timeOfDay(start)});
    c.push_back({"qso_date_off", civilDate(end / 86400)});
    c.push_back({"time_off", timeOfDay(end)});
    c.push_back({"band", std::string(band.name)});
    c.push_back({"freq", decimalMHz(band.ft8DialHz + mode.dialOffsetHz + 200 + rng.below(2800))});
    c.push_back({"station_callsign", station.call});
    c.push_back({"my_gridsquare", station.grid});
    c.push_back({"tx_pwr", std::string(anyOf(rng, kPowers))});
    if (rng.percent(50))
        c.push_back({"comment", std::string(anyOf(rng, kComments))});
    if (rng.percent(40))
        c.push_back({"name", personName(rng)});
    if (rng.percent(50))
        c.push_back({"operator", station.call});
    return c;
}

// The contacts of one station, in date and time order, no two at the same
// second: most come minutes apart, some after a pause of hours.
class ContactStream {
public:
    explicit ContactStream(Random& rng)
        : rng_(rng), station_{callsign(rng), grid4(rng) + rng.letter('a', 24) + rng.letter('a', 24)},
          time_(1546300800LL + rng.below(86400))  // 2019-01-01
    {
    }

    Contact next()
    {
        Contact c = makeContact(rng_, station_, freshCall(), time_);
        time_ += rng_.percent(75) ? 60 + rng_.below(240) : 600 + rng_.below(30000);
        return c;
    }

private:
    // Contacts are a minute apart at least: no call among the last 60 is no
    // call twice within an hour.
    std::string freshCall()
    {
        for (;;) {
            std::string call = callsign(rng_);
            if (std::find(recent_.begin(), recent_.end(), call) != recent_.end())
                continue;
            recent_[recentNext_++ % recent_.size()] = call;
            return call;
        }
    }

    Random& rng_;
    Station station_;
    long long time_;
    std::array<std::string, 60> recent_;
    std::size_t recentNext_ = 0;
};

constexpr std::string_view kHeader = "WSJT-X ADIF Export<eoh>\n";

void appendField(std::string& out, const Field& f)
{
    out += '<';
    out += f.name;
    out += ':';
    out += std::to_string(f.value.size());
    out += '>';
    out += f.value;
}

void appendOneLine(std::string& out, const Contact& c)
{
    for (const Field& f : c) {
        appendField(out, f);
        out += ' ';
    }
    out += "<eor>\n";
}

void appendOnePerLine(std::string& out, const Contact& c)
{
    for (const Field& f : c) {
        appendField(out, f);
        out += '\n';
    }
    out += "<eor>\n\n";
}

template <typename C>
auto* findField(C& contact, std::string_view name)
{
    const auto it = std::find_if(contact.begin(), contact.end(), [name](const Field& f) { return f.name == name; });
    return it == contact.end() ? nullptr : &*it;
}

bool filterMatch(const Contact& c)
{
    return findField(c, "band")->value == "20m" && findField(c, "mode")->value == "FT8";
}

// Takes a log's text as it is made, piece by piece, and counts its bytes.
class FileSink {
public:
    explicit FileSink(const std::filesystem::path& path) : path_(path), out_(path, std::ios::binary | std::ios::trunc)
    {
        if (!out_)
            fail();
    }
    void operator()(std::string_view text)
    {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        bytes += text.size();
    }
    void close()
    {
        out_.close();
        if (!out_)
            fail();
    }

    std::uint64_t bytes = 0;

private:
    [[noreturn]] void fail() const { throw std::runtime_error("cannot write " + path_.string()); }

    std::filesystem::path path_;
    std::ofstream out_;
};

// Every record's text in date order, then handed on in shuffled order.
void writeShuffled(Random& rng, ContactStream& contacts, LogFacts& facts, Layout layout, FileSink& out)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(facts.records) * (layout == Layout::FieldPerLine ? 310 : 295));
    std::vector<std::size_t> starts;
    starts.reserve(static_cast<std::size_t>(facts.records) + 1);
    for (long long i = 0; i < facts.records; ++i) {
        const Contact c = contacts.next();
        facts.filterMatches += filterMatch(c) ? 1 : 0;
        starts.push_back(text.size());
        layout == Layout::FieldPerLine ? appendOnePerLine(text, c) : appendOneLine(text, c);
    }
    starts.push_back(text.size());
    std::vector<std::uint32_t> order(static_cast<std::size_t>(facts.records));
    std::iota(order.begin(), order.end(), 0U);
    rng.shuffle(order);
    for (const std::uint32_t i : order)
        out(std::string_view(text).substr(starts[i], starts[i + 1] - starts[i]));
}

enum class Side : unsigned char { Both, OpenOnly, AddedOnly };

// Which contacts of the pair go where, and which shared ones differ: a
// quarter of them, spread over the log.
struct PairPlan {
    std::vector<Side> sides;
    std::vector<char> differs;
};

PairPlan planPair(Random& rng, PairFacts& pair)
{
    pair.shared = pair.recordsEach / 2;
    const long long own = pair.recordsEach - pair.shared;
    pair.mergedRecords = pair.shared + 2 * own;
    PairPlan plan;
    plan.sides.reserve(static_cast<std::size_t>(pair.mergedRecords));
    plan.sides.insert(plan.sides.end(), static_cast<std::size_t>(pair.shared), Side::Both);
    plan.sides.insert(plan.sides.end(), static_cast<std::size_t>(own), Side::OpenOnly);
    plan.sides.insert(plan.sides.end(), static_cast<std::size_t>(own), Side::AddedOnly);
    rng.shuffle(plan.sides);
    plan.differs.assign(static_cast<std::size_t>(pair.shared), 0);
    pair.differing = pair.shared / 4;
    std::fill(plan.differs.begin(), plan.differs.begin() + pair.differing, 1);
    rng.shuffle(plan.differs);
    return plan;
}

// The report, the comment, or both; a contact without a comment gets the report.
void changeValues(Random& rng, Contact& other, PairFacts& pair)
{
    const bool hasComment = findField(other, "comment") != nullptr;
    const int change = hasComment ? rng.below(3) : 0;
    if (change != 1) {
        std::string& sent = findField(other, "rst_sent")->value;
        sent = report(std::stoi(sent) + 1 + rng.below(5));
        ++pair.differingFields;
    }
    if (change != 0) {
        findField(other, "comment")->value += " tnx";
        ++pair.differingFields;
    }
}

}  // namespace

std::string_view layoutName(Layout layout)
{
    switch (layout) {
    case Layout::Shuffled:
        return "shuffled";
    case Layout::Sorted:
        return "sorted";
    case Layout::FieldPerLine:
        return "field_per_line";
    }
    return "";
}

LogFacts writeLogFile(const std::filesystem::path& path, std::uint64_t seed, long long records, Layout layout)
{
    Random rng(seed);
    ContactStream contacts(rng);
    LogFacts facts;
    facts.records = records;
    FileSink out(path);
    out(kHeader);
    if (layout != Layout::Sorted) {
        writeShuffled(rng, contacts, facts, layout, out);
    } else {
        std::string line;
        for (long long i = 0; i < records; ++i) {
            const Contact c = contacts.next();
            facts.filterMatches += filterMatch(c) ? 1 : 0;
            line.clear();
            appendOneLine(line, c);
            out(line);
        }
    }
    out.close();
    facts.bytes = out.bytes;
    return facts;
}

PairFacts writeMergePairFiles(const std::filesystem::path& openPath, const std::filesystem::path& addedPath,
                              std::uint64_t seed, long long recordsEach)
{
    Random rng(seed ^ 0x6D65726765ULL);
    PairFacts pair;
    pair.recordsEach = recordsEach;
    const PairPlan plan = planPair(rng, pair);
    FileSink open(openPath);
    FileSink added(addedPath);
    open(kHeader);
    added(kHeader);
    ContactStream contacts(rng);
    std::string line;
    std::size_t sharedSeen = 0;
    for (const Side side : plan.sides) {
        Contact c = contacts.next();
        line.clear();
        appendOneLine(line, c);
        if (side != Side::AddedOnly)
            open(line);
        if (side == Side::Both && plan.differs[sharedSeen++] != 0) {
            changeValues(rng, c, pair);
            line.clear();
            appendOneLine(line, c);
        }
        if (side != Side::OpenOnly)
            added(line);
    }
    open.close();
    added.close();
    pair.openBytes = open.bytes;
    pair.addedBytes = added.bytes;
    return pair;
}

}  // namespace logweave::bench
