#pragma once
// One scheduled memo as it lies in PostIt.dat: 226 bytes, little-endian, no header.
// Portable: no Win32 here.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace siborang {

// A length-prefixed CP949 text of fixed capacity: one length byte, then the bytes.
// No terminating zero; bytes past the length have no meaning.
template <std::size_t Capacity>
struct ShortText {
    std::uint8_t Length;
    char Text[Capacity];

    // The text, never reaching past the field even when a damaged file gives a
    // length above the capacity.
    std::string_view View() const noexcept {
        return {Text, Length < Capacity ? Length : Capacity};
    }
    // Stores at most Capacity bytes of text; bytes past them keep what they held.
    void Assign(std::string_view text) noexcept {
        const std::size_t n = text.size() < Capacity ? text.size() : Capacity;
        for (std::size_t i = 0; i < n; ++i) Text[i] = text[i];
        Length = static_cast<std::uint8_t>(n);
    }
};

inline constexpr std::size_t kMemoLineCapacity = 70;
inline constexpr std::size_t kMemoLineCount = 3;
using MemoLine = ShortText<kMemoLineCapacity>;

struct MemoRecord {
    std::uint8_t Confirmed;  // 0 pending; any other value: shown
    std::uint8_t Padding1;
    std::int16_t Year;
    std::int16_t Month;
    std::int16_t Day;
    std::int16_t Hour;
    std::int16_t Minute;
    MemoLine Lines[kMemoLineCount];
    // One more byte of padding follows through the 16-bit alignment.
};

inline constexpr std::size_t kMemoRecordSize = 226;

static_assert(std::endian::native == std::endian::little, "the file is little-endian");
static_assert(sizeof(MemoLine) == 71);
static_assert(sizeof(MemoRecord) == kMemoRecordSize);
static_assert(offsetof(MemoRecord, Confirmed) == 0);
static_assert(offsetof(MemoRecord, Year) == 2);
static_assert(offsetof(MemoRecord, Month) == 4);
static_assert(offsetof(MemoRecord, Day) == 6);
static_assert(offsetof(MemoRecord, Hour) == 8);
static_assert(offsetof(MemoRecord, Minute) == 10);
static_assert(offsetof(MemoRecord, Lines) == 12);
static_assert(offsetof(MemoRecord, Lines) + sizeof(MemoLine) == 83);
static_assert(offsetof(MemoRecord, Lines) + 2 * sizeof(MemoLine) == 154);

}  // namespace siborang
