#include "merging/value_meaning.h"

#include "merging/adif_submodes.h"
#include "merging/contact_identity.h"
#include "logweave/text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

namespace logweave {
namespace {

struct FieldKind {
    std::string_view name;
    ValueKind kind;
};

constexpr ValueKind L = ValueKind::Letters;
constexpr ValueKind N = ValueKind::Number;

// ADIF 3.1.7's fields by data type. Letters: the Enumeration and Boolean
// fields, the callsigns, the String fields ADIF ties to an enumeration (and
// COUNTRY, whose MY_ twin is one), and those ADIF calls case-insensitive
// (grid lists, grid extensions, IOTA references). Number: Number, Integer and
// PositiveInteger, and DXCC, whose codes are integers. The Intl fields are
// left out: they cannot appear in an .adi file.
constexpr std::array kKinds = std::to_array<FieldKind>({
    {"AGE", N},
    {"ALTITUDE", N},
    {"ANT_AZ", N},
    {"ANT_EL", N},
    {"ANT_PATH", L},
    {"ARRL_SECT", L},
    {"A_INDEX", N},
    {"BAND", L},
    {"BAND_RX", L},
    {"CALL", L},
    {"CLUBLOG_QSO_UPLOAD_STATUS", L},
    {"CNTY", L},
    {"CONT", L},
    {"CONTACTED_OP", L},
    {"CONTEST_ID", L},
    {"COUNTRY", L},
    {"CQZ", N},
    {"DARC_DOK", L},
    {"DCL_QSL_RCVD", L},
    {"DCL_QSL_SENT", L},
    {"DISTANCE", N},
    {"DXCC", N},
    {"EQSL_AG", L},
    {"EQSL_QSL_RCVD", L},
    {"EQSL_QSL_SENT", L},
    {"EQ_CALL", L},
    {"FISTS", N},
    {"FISTS_CC", N},
    {"FORCE_INIT", L},
    {"FREQ", N},
    {"FREQ_RX", N},
    {"GRIDSQUARE", ValueKind::Grid},
    {"GRIDSQUARE_EXT", L},
    {"GUEST_OP", L},
    {"HAMLOGEU_QSO_UPLOAD_STATUS", L},
    {"HAMQTH_QSO_UPLOAD_STATUS", L},
    {"HRDLOG_QSO_UPLOAD_STATUS", L},
    {"IOTA", L},
    {"IOTA_ISLAND_ID", N},
    {"ITUZ", N},
    {"K_INDEX", N},
    {"LOTW_QSL_RCVD", L},
    {"LOTW_QSL_SENT", L},
    {"MAX_BURSTS", N},
    {"MODE", ValueKind::Mode},
    {"MORSE_KEY_TYPE", L},
    {"MY_ALTITUDE", N},
    {"MY_ARRL_SECT", L},
    {"MY_CNTY", L},
    {"MY_COUNTRY", L},
    {"MY_CQ_ZONE", N},
    {"MY_DARC_DOK", L},
    {"MY_DXCC", N},
    {"MY_FISTS", N},
    {"MY_GRIDSQUARE", ValueKind::Grid},
    {"MY_GRIDSQUARE_EXT", L},
    {"MY_IOTA", L},
    {"MY_IOTA_ISLAND_ID", N},
    {"MY_ITU_ZONE", N},
    {"MY_MORSE_KEY_TYPE", L},
    {"MY_STATE", L},
    {"MY_VUCC_GRIDS", L},
    {"NR_BURSTS", N},
    {"NR_PINGS", N},
    {"OPERATOR", L},
    {"OWNER_CALLSIGN", L},
    {"PFX", L},
    {"PROP_MODE", L},
    {"QRZCOM_QSO_DOWNLOAD_STATUS", L},
    {"QRZCOM_QSO_UPLOAD_STATUS", L},
    {"QSL_RCVD", L},
    {"QSL_RCVD_VIA", L},
    {"QSL_SENT", L},
    {"QSL_SENT_VIA", L},
    {"QSO_COMPLETE", L},
    {"QSO_RANDOM", L},
    {"REGION", L},
    {"RX_PWR", N},
    {"SFI", N},
    {"SILENT_KEY", L},
    {"SRX", N},
    {"STATE", L},
    {"STATION_CALLSIGN", L},
    {"STX", N},
    {"SUBMODE", ValueKind::Submode},
    {"SWL", L},
    {"TEN_TEN", N},
    {"TX_PWR", N},
    {"UKSMG", N},
    {"VUCC_GRIDS", L},
});

static_assert(std::ranges::adjacent_find(kKinds, std::ranges::greater_equal{}, &FieldKind::name) == kKinds.end(),
              "the binary search needs the names sorted and each once");

// A value by ADIF's Number syntax: an optional minus, digits, at most one
// decimal point. Compared as text, not as a double, so that no two numbers a
// log can tell apart are taken as one.
struct Decimal {
    bool negative = false;
    std::string_view whole;     // no leading zeros
    std::string_view fraction;  // no trailing zeros
    bool operator==(const Decimal&) const = default;
};

std::optional<Decimal> readDecimal(std::string_view text)
{
    Decimal number;
    if (!text.empty() && text.front() == '-') {
        number.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    number.whole = text.substr(0, point);
    if (point != std::string_view::npos)
        number.fraction = text.substr(point + 1);
    if (number.whole.size() + number.fraction.size() == 0 || !allDigits(number.whole)
        || !allDigits(number.fraction))
        return std::nullopt;
    number.whole.remove_prefix(std::min(number.whole.find_first_not_of('0'), number.whole.size()));
    while (!number.fraction.empty() && number.fraction.back() == '0')
        number.fraction.remove_suffix(1);
    if (number.whole.empty() && number.fraction.empty())
        number.negative = false;  // -0 is 0
    return number;
}

bool startsIgnoringCase(std::string_view text, std::string_view start) noexcept
{
    return text.size() >= start.size() && equalsIgnoringCase(text.substr(0, start.size()), start);
}

// A record's mode and submode as ADIF writes them: MODE FT4 alone is MFSK and FT4.
std::pair<std::string, std::string> adifForm(const ModeFields& fields)
{
    std::string submode = upperCased(fields.submode);
    if (submode.empty() && modeOfSubmode(upperCased(fields.mode)))
        submode = upperCased(fields.mode);
    return {modeOf(fields.mode, fields.submode), std::move(submode)};
}

}  // namespace

ValueKind valueKindOf(std::string_view fieldName)
{
    const std::string name = upperCased(fieldName.substr(0, fieldName.find(':')));
    const auto found = std::ranges::lower_bound(kKinds, name, {}, &FieldKind::name);
    return found != kKinds.end() && found->name == name ? found->kind : ValueKind::Bytes;
}

bool modesAgree(const PairModes& modes)
{
    return adifForm(modes.open) == adifForm(modes.added);
}

Agreement compareValues(ValueKind kind, std::string_view open, std::string_view added, const PairModes& modes)
{
    if (open == added)
        return Agreement::Identical;
    if ((kind == ValueKind::Mode || kind == ValueKind::Submode) && modesAgree(modes))
        return modes.open.mode.empty() && !modes.added.mode.empty() ? Agreement::KeepAdded : Agreement::KeepOpen;
    if (open.empty() || added.empty())
        return added.empty() ? Agreement::KeepOpen : Agreement::KeepAdded;

    switch (kind) {
    case ValueKind::Bytes:
        return Agreement::Differ;
    case ValueKind::Letters:
    case ValueKind::Mode:
    case ValueKind::Submode:
        return equalsIgnoringCase(open, added) ? Agreement::KeepOpen : Agreement::Differ;
    case ValueKind::Number: {
        const auto openNumber = readDecimal(open);
        return openNumber && openNumber == readDecimal(added) ? Agreement::KeepOpen : Agreement::Differ;
    }
    case ValueKind::Grid:
        if (startsIgnoringCase(open, added))
            return Agreement::KeepOpen;
        return startsIgnoringCase(added, open) ? Agreement::KeepAdded : Agreement::Differ;
    }
    return Agreement::Differ;
}

Agreement compareValues(std::string_view fieldName, std::string_view open, std::string_view added,
                        const PairModes& modes)
{
    return compareValues(valueKindOf(fieldName), open, added, modes);
}

}  // namespace logweave
