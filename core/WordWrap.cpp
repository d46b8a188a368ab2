#include "core/WordWrap.h"

namespace siborang {
namespace {

bool IsSpace(wchar_t c) { return c == L' '; }

// Where a line may end: after a word, or inside one before an opening parenthesis, as Windows
// breaks "메모(확인함)".
bool MayEndAt(std::wstring_view text, std::size_t p, std::size_t end) {
    if (IsSpace(text[p - 1])) return false;
    return p == end || IsSpace(text[p]) || text[p] == L'(';
}

// Lines of one paragraph, which holds no line break.
void WrapParagraph(std::wstring_view text, std::size_t begin, std::size_t end, int width, const MeasureText& measure,
                   std::vector<LineSpan>& lines) {
    const std::size_t before = lines.size();
    std::size_t at = begin;
    while (at < end) {
        if (lines.size() > before) {
            while (at < end && IsSpace(text[at])) ++at;  // the spaces a break falls on
            if (at == end) break;
        }
        // The last place a line may end that fits: widths only grow with the text, so stop at
        // the first that does not.
        std::size_t fit = 0;
        std::size_t firstWordEnd = 0;
        for (std::size_t p = at + 1; p <= end; ++p) {
            if (!MayEndAt(text, p, end)) continue;
            if (!firstWordEnd) firstWordEnd = p;
            if (measure(text.substr(at, p - at)) > width) break;
            fit = p;
        }
        if (!firstWordEnd) break;  // nothing but spaces left
        if (!fit) {
            // The word alone is too wide: as many characters as fit, at least one.
            fit = at + 1;
            while (fit < firstWordEnd && measure(text.substr(at, fit + 1 - at)) <= width) ++fit;
        }
        lines.push_back({at, fit - at});
        at = fit;
    }
    if (lines.size() == before) lines.push_back({begin, 0});  // an empty paragraph is an empty line
}

}  // namespace

std::vector<LineSpan> WrapAtSpaces(std::wstring_view text, int width, const MeasureText& measure) {
    std::vector<LineSpan> lines;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t newline = text.find(L'\n', begin);
        std::size_t end = newline == std::wstring_view::npos ? text.size() : newline;
        if (end > begin && text[end - 1] == L'\r') --end;
        WrapParagraph(text, begin, end, width, measure, lines);
        if (newline == std::wstring_view::npos) break;
        begin = newline + 1;
    }
    return lines;
}

}  // namespace siborang
