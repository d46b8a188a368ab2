#pragma once
// The names of the pictures in Siborang.rc, as the program asks for them. The voice clips'
// names are composed in speech/ClipSequence.
namespace siborang {

inline constexpr wchar_t kMainIcon[] = L"MAINICON";    // 16 to 96 px: program, tray, titles, about
inline constexpr wchar_t kMailboxIcon[] = L"POSTBOX";  // the memo editor's title, the about dialog
inline constexpr wchar_t kTitleBitmap[] = L"TITLE";    // the 160 x 18 gradient of the title panels
inline constexpr wchar_t kNoteBitmap[] = L"NOTE";      // a memo note's face

}  // namespace siborang
