#include "core/Dates.h"

#include "core/Errors.h"

namespace siborang {
namespace {

// Days from 1 March of year 0 in the proleptic Gregorian calendar, shifted so that
// 30 December 1899 is day 0 (H. Hinnant's civil-day algorithms).
constexpr std::int64_t kEpochShift = 693899;

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

}  // namespace

bool LeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int MonthLength(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return MonthDays[static_cast<std::size_t>(month - 1)] + (month == 2 && LeapYear(year) ? 1 : 0);
}

DateDays EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > MonthLength(year, month)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return static_cast<DateDays>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                 kEpochShift);
}

DateParts DecodeDate(DateDays date) {
    const std::int64_t z = static_cast<std::int64_t>(date) + kEpochShift;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int DayOfWeek(DateDays date) {
    // Day 0 was a Saturday.
    const int r = static_cast<int>((static_cast<std::int64_t>(date) - 1) % 7);
    return (r + 7) % 7 + 1;
}

}  // namespace siborang
