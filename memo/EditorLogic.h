#pragma once
// What the memo editor decides without a window: the list entry of a memo, the corrections
// of its number boxes when they are left, and the due date it may store. Portable: no Win32.
#include <string>
#include <string_view>

#include "memo/MemoRecord.h"

namespace siborang {

// The list entry: "%d/%d/%d %d:%d" of Year, Month, Day, Hour, Minute (9:05 on 7 December
// 2026 reads 2026/12/7 9:5).
std::string MemoEntryText(const MemoRecord& memo);

// The number boxes tell their kind by their Tag.
inline constexpr int kMinuteTag = 0;
inline constexpr int kMonthTag = 12;
inline constexpr int kHourTag = 23;
inline constexpr int kYearTag = 1990;

// The text a number box holds after it is left: a text that is no integer, or is -1, becomes
// the Tag; then minutes are kept to 0..59, months to 1..12 and hours to 0..23 (the year is
// left as typed). Any other integer text, "$F" or "+5" say, stays as it is.
std::string NumberBoxAfterExit(std::string_view text, int tag);

// The number a box stores: its strict parse, cut to 16 bits and read as signed.
std::int16_t StoredNumber(std::string_view text);

// Refuses a day the month does not have in that year (or a month outside 1..12) with
// "Invalid argument to date encode", before anything is stored: the calendar may have
// refused the month typed beside it.
void CheckDueDate(int year, int month, int day);

}  // namespace siborang
