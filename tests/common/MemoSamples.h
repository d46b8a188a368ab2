#pragma once
// Memo records as the tests write them into PostIt.dat: every byte zero but the fields given,
// the lines in code page 949.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "memo/MemoRecord.h"
#ifdef _WIN32
#include "win/Text.h"
#endif

namespace siborang::samples {

// The first line given as its bytes, already in code page 949.
inline MemoRecord Memo(int year, int month, int day, int hour, int minute, std::string_view line1 = {},
                       std::uint8_t confirmed = 0) {
    MemoRecord r;
    std::memset(&r, 0, sizeof r);  // the padding too: Bytes() writes the record whole
    r.Confirmed = confirmed;
    r.Year = static_cast<std::int16_t>(year);
    r.Month = static_cast<std::int16_t>(month);
    r.Day = static_cast<std::int16_t>(day);
    r.Hour = static_cast<std::int16_t>(hour);
    r.Minute = static_cast<std::int16_t>(minute);
    r.Lines[0].Assign(line1);
    return r;
}

#ifdef _WIN32
// The lines given as the user types them, converted as the editor converts them.
inline MemoRecord Memo(int year, int month, int day, int hour, int minute, std::wstring_view line1,
                       std::wstring_view line2 = L"", std::wstring_view line3 = L"", std::uint8_t confirmed = 0) {
    MemoRecord r = Memo(year, month, day, hour, minute, win::ToCp949(line1), confirmed);
    r.Lines[1].Assign(win::ToCp949(line2));
    r.Lines[2].Assign(win::ToCp949(line3));
    return r;
}
#endif

// The file's bytes for these records, in order.
inline std::string Bytes(const std::vector<MemoRecord>& records) {
    return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(MemoRecord));
}

}  // namespace siborang::samples
