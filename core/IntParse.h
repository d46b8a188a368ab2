#pragma once
// Integer texts as the user types them and as the settings file holds them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace siborang {

// Leading spaces (code 32 only), then either "$" and one to eight hex digits (a 32-bit
// pattern) or an optional sign and decimal digits within the signed 32-bit range, and
// nothing after. Anything else has no value.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// ParseInteger with a fallback: the lenient parse of number boxes.
std::int32_t ParseIntegerOr(std::string_view text, std::int32_t fallback);

// ParseInteger that raises "'<text>' is not a valid integer value".
std::int32_t ParseIntegerStrict(std::string_view text);

// The settings file's integers: a text longer than two characters starting "0x"/"0X"
// is hexadecimal, as is a leading "$"; otherwise as ParseInteger. Unparsable: fallback.
std::int32_t ParseProfileInteger(std::string_view text, std::int32_t fallback);

}  // namespace siborang
