#include "core/Mnemonic.h"

namespace siborang {
namespace {

// Walks the caption's characters as shown, telling which one an "&" marks.
template <class Visit>
void ForEachShown(std::wstring_view caption, Visit visit) {
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const bool marked = caption[i] == L'&';
        if (marked && ++i == caption.size()) break;  // a trailing "&" shows nothing
        visit(caption[i], marked && caption[i] != L'&');
    }
}

}  // namespace

std::wstring WithoutMnemonic(std::wstring_view caption) {
    std::wstring shown;
    shown.reserve(caption.size());
    ForEachShown(caption, [&](wchar_t c, bool) { shown += c; });
    return shown;
}

std::optional<wchar_t> MnemonicOf(std::wstring_view caption) {
    std::optional<wchar_t> letter;
    ForEachShown(caption, [&](wchar_t c, bool marked) {
        if (marked && !letter) letter = c;
    });
    return letter;
}

}  // namespace siborang
