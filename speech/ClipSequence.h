#pragma once
// Which voice clips speak a time of day, in order. Portable: no Win32 here.
#include <cstdint>
#include <string>
#include <vector>

namespace siborang {

// The clip names asked for, in the mixed case the resources are looked up with
// ("___Hour10", "___Hour2", "___Hours", "___Minute3", ...).
std::vector<std::string> ClipSequence(std::uint16_t hour, std::uint16_t minute);

// The memo note's chime.
inline constexpr const char* kChimeClip = "___ToDay";

}  // namespace siborang
