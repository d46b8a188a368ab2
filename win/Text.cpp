#include "win/Text.h"

#include "win/Win32.h"

namespace siborang::win {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

std::wstring FromCp949(std::string_view bytes) { return ToWide(kKoreanCodePage, bytes); }

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ToCp949(std::wstring_view text, bool* lossless) {
    if (lossless) *lossless = true;
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    const int len = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(kKoreanCodePage, 0, text.data(), len, nullptr, 0, nullptr, &usedDefault);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(kKoreanCodePage, 0, text.data(), len, out.data(), n, nullptr, &usedDefault);
    if (lossless) *lossless = !usedDefault;
    return out;
}

}  // namespace siborang::win
