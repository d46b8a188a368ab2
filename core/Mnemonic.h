#pragma once
// The "&" of a caption, as Windows reads it: "&R" underlines R and makes Alt+R the caption's
// key, "&&" is an ampersand shown as one. Portable.
#include <optional>
#include <string>
#include <string_view>

namespace siborang {

// The caption as shown: each "&" that marks a letter dropped, each "&&" one "&".
std::wstring WithoutMnemonic(std::wstring_view caption);
// The letter the first single "&" marks; nullopt when none does.
std::optional<wchar_t> MnemonicOf(std::wstring_view caption);

}  // namespace siborang
