#pragma once
// Line breaking for word-wrapped labels, done by the program rather than the platform: some
// platforms break Korean text between any two syllables, and a memo reads as words only
// when it wraps at spaces. Portable: the caller measures.
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace siborang {

struct LineSpan {
    std::size_t start;
    std::size_t length;
};

// Width of a piece of text in the caller's units.
using MeasureText = std::function<int(std::wstring_view)>;

// Breaks `text` into lines no wider than `width`: a line ends at the last space (or before the
// last opening parenthesis joined to a word) that lets it fit, and a word is broken inside
// otherwise only when it alone is wider than `width` (then as many characters as fit, at least
// one). The spaces at a break and at the end of the text are
// dropped; "\n" (or "\r\n") ends a line wherever it stands.
std::vector<LineSpan> WrapAtSpaces(std::wstring_view text, int width, const MeasureText& measure);

}  // namespace siborang
