#include "core/IntParse.h"

#include <string>

#include "core/Errors.h"

namespace siborang {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    text.remove_prefix(i);
    if (text.empty()) return std::nullopt;

    if (text.front() == '$') {
        text.remove_prefix(1);
        if (text.empty() || text.size() > 8) return std::nullopt;
        std::uint32_t value = 0;
        for (char c : text) {
            int d = HexDigit(c);
            if (d < 0) return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulate the magnitude in 64 bits; stop as soon as it leaves the 32-bit range.
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t ParseIntegerOr(std::string_view text, std::int32_t fallback) {
    return ParseInteger(text).value_or(fallback);
}

std::int32_t ParseIntegerStrict(std::string_view text) {
    if (auto value = ParseInteger(text)) return *value;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t ParseProfileInteger(std::string_view text, std::int32_t fallback) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::string hex = "$";
        hex.append(text.substr(2));
        return ParseIntegerOr(hex, fallback);
    }
    return ParseIntegerOr(text, fallback);
}

}  // namespace siborang
