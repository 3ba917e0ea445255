#pragma once
// Whether the open record's and the added record's values of one field say
// the same thing when their bytes differ, and if so which one the merged
// record keeps: the open one's spelling as a rule, the longer of two grid
// squares, the one value of a field that only one record holds.

#include <string_view>

namespace logweave {

enum class Agreement {
    Identical,  // the same bytes
    KeepOpen,   // the same meaning: write the open record's value
    KeepAdded,  // the same meaning: write the added record's value
    Differ,     // a real question
};

// How a field's values compare, from its ADIF data type.
enum class ValueKind {
    Bytes,    // free text: equal when the bytes are
    Letters,  // enumerations, callsigns, Y/N: letter case aside
    Number,   // as decimal numbers: 14.074 is 14.07400, 05 is 5
    Grid,     // a grid square and a longer one inside it
    Mode,     // MODE and SUBMODE are read together: see PairModes
    Submode,
};

// A field's name in any letter case, a type indicator (":N") ignored.
ValueKind valueKindOf(std::string_view fieldName);

struct ModeFields {
    std::string_view mode;
    std::string_view submode;
};

// The MODE and SUBMODE of both records. A record with MODE FT4 means what one
// with MODE MFSK and SUBMODE FT4 means: between those two, neither MODE nor
// SUBMODE is a question, and both are taken from one record, the open one
// unless it has no MODE, so that the merged record has one of the two forms.
struct PairModes {
    ModeFields open;
    ModeFields added;
};

// Whether the two records' modes mean the same, MODE and SUBMODE read together.
bool modesAgree(const PairModes& modes);

// An empty value is a field the record does not hold; ask about those too,
// since a submode can be kept absent.
Agreement compareValues(ValueKind kind, std::string_view open, std::string_view added, const PairModes& modes);
Agreement compareValues(std::string_view fieldName, std::string_view open, std::string_view added,
                        const PairModes& modes);

}  // namespace logweave
