#pragma once
// Conversions between the program's byte texts and the wide Win32 calls. CP949 is named
// explicitly so that Korean reads correctly whatever the system's ANSI code page is.
#include <string>
#include <string_view>

namespace siborang::win {

inline constexpr unsigned kKoreanCodePage = 949;

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);
std::wstring FromCp949(std::string_view bytes);
// Characters CP949 cannot hold make `lossless` false (when given); they become '?'.
std::string ToCp949(std::wstring_view text, bool* lossless = nullptr);

}  // namespace siborang::win
