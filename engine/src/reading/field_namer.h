#pragma once
// Field names as a log's tags write them, resolved to field-table indices:
// a log writes the same few names again and again, so each spelling is
// looked up in the table once.

#include "logweave/field_table.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace logweave {

class FieldNamer {
public:
    // What a field's name means for reading a log.
    enum class Kind : std::uint8_t { Other, Call, Date, Time, EndOfHeader };

    // `text` is the log's text, where the names read stand.
    FieldNamer(FieldTable& table, std::string_view text) : table_(table), textEnd_(text.data() + text.size()) {}

    // The field of a tag written `name` and `type` (":D" or empty), entered
    // into the table when new. The views must live as long as the namer.
    std::uint32_t fieldOf(std::string_view name, std::string_view type)
    {
        // A name of up to 16 bytes is its own key: two words and its length
        // compare it whole. Keys are kept in slots, the first free one after
        // where a key hashes, so a log's few names find theirs with no search.
        // Without them, opening a log of a million records takes a fifth longer.
        if (name.size() > kShortName || name.data() + kShortName > textEnd_)
            return lookUp(name, type);
        const ShortKey key = shortKey(name, type);
        for (std::size_t i = key.slot(), probes = 0; probes < kProbes; i = (i + 1) % slots_.size(), ++probes) {
            Slot& slot = slots_[i];
            if (slot.key == key)
                return slot.field;
            if (slot.key == ShortKey{}) {
                slot = {key, lookUp(name, type)};
                return slot.field;
            }
        }
        return lookUp(name, type);
    }
    Kind kindOf(std::uint32_t field) const noexcept { return field < kinds_.size() ? kinds_[field] : Kind::Other; }

private:
    static constexpr std::size_t kShortName = 16;
    static constexpr int kSlotBits = 9;
    static constexpr std::size_t kProbes = 8;

    struct ShortKey {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::uint32_t sizeAndType = 0xFFFFFFFF;  // no name is this long: an empty slot
        bool operator==(const ShortKey&) const = default;
        // Multiplicative hashing: the high bits of the product mix every byte.
        std::size_t slot() const noexcept
        {
            const std::uint64_t mixed = (head ^ (tail * 0xC2B2AE3D27D4EB4FULL) ^ sizeAndType) * 0x9E3779B97F4A7C15ULL;
            return static_cast<std::size_t>(mixed >> (64 - kSlotBits));
        }
    };
    struct Slot {
        ShortKey key;
        std::uint32_t field = 0;
    };
    // The name's bytes, those after it masked off; 16 bytes can be read there.
    static ShortKey shortKey(std::string_view name, std::string_view type) noexcept
    {
        ShortKey key;
        std::memcpy(&key.head, name.data(), 8);
        std::memcpy(&key.tail, name.data() + 8, 8);
        const std::size_t size = name.size();
        key.head &= size >= 8 ? ~0ULL : (1ULL << (8 * size)) - 1;
        key.tail &= size >= 16 ? ~0ULL : size <= 8 ? 0 : (1ULL << (8 * (size - 8))) - 1;
        const auto typeLetter = type.empty() ? 0u : static_cast<unsigned char>(type[1]) + 1u;
        key.sizeAndType = static_cast<std::uint32_t>(size) | (typeLetter << 8);
        return key;
    }

    struct Spelling {
        std::string_view name;
        std::string_view type;
        bool operator==(const Spelling&) const = default;
    };
    struct SpellingHash {
        std::size_t operator()(const Spelling& s) const noexcept;
    };
    std::uint32_t lookUp(std::string_view name, std::string_view type);
    std::uint32_t remember(std::string_view name, std::string_view type);

    FieldTable& table_;
    const char* textEnd_;
    std::array<Slot, std::size_t{1} << kSlotBits> slots_{};
    std::unordered_map<Spelling, std::uint32_t, SpellingHash> spellings_;
    std::vector<Kind> kinds_;
};

}  // namespace logweave
