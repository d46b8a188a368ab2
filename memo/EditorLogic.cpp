#include "memo/EditorLogic.h"

#include <cstdio>

#include "core/Dates.h"
#include "core/Errors.h"
#include "core/IntParse.h"

namespace siborang {

std::string MemoEntryText(const MemoRecord& memo) {
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%d", memo.Year, memo.Month, memo.Day, memo.Hour, memo.Minute);
    return text;
}

std::string NumberBoxAfterExit(std::string_view text, int tag) {
    std::string result(text);
    const auto parsed = ParseInteger(text);
    if (!parsed || *parsed == -1) result = std::to_string(tag);
    const int v = static_cast<std::int16_t>(ParseIntegerStrict(result));
    switch (tag) {
    case kMinuteTag:
        if (v < 0) result = "0";
        if (v > 59) result = "59";
        break;
    case kMonthTag:
        if (v < 1) result = "1";
        if (v > 12) result = "12";
        break;
    case kHourTag:
        if (v <= 0) result = "0";
        if (v > 23) result = "23";
        break;
    default:
        break;
    }
    return result;
}

std::int16_t StoredNumber(std::string_view text) { return static_cast<std::int16_t>(ParseIntegerStrict(text)); }

void CheckDueDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > MonthLength(year, month))
        throw EConvertError("Invalid argument to date encode");
}

}  // namespace siborang
