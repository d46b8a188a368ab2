#pragma once
// Calendar dates: the Gregorian rules, and whole days counted from 30 December 1899 as the
// calendar control and the memo editor reckon them. Portable.
#include <array>
#include <cstdint>

namespace siborang {

struct DateParts {
    int year = 0, month = 0, day = 0;
    friend bool operator==(const DateParts&, const DateParts&) = default;
};

// The weekday of a column: 0 = Sunday ... 6 = Saturday.
using TDayOfWeek = std::uint8_t;

// Whole days counted from 30 December 1899.
using DateDays = std::int32_t;

bool LeapYear(int year);
// The days of a month (1..12) in a year; 0 for any other month.
int MonthLength(int year, int month);
// Fails with "Invalid argument to date encode" unless 1 <= year <= 9999, the month is
// 1..12 and the day lies in that month.
DateDays EncodeDate(int year, int month, int day);
DateParts DecodeDate(DateDays date);
// 1 = Sunday, 2 = Monday ... 7 = Saturday.
int DayOfWeek(DateDays date);

inline constexpr std::array<int, 12> MonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace siborang
