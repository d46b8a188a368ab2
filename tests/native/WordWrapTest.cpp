#include "core/WordWrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace siborang {
namespace {

// One unit a character, so the widths are easy to follow.
std::vector<std::wstring> Wrap(std::wstring_view text, int width) {
    std::vector<std::wstring> lines;
    for (const LineSpan& line : WrapAtSpaces(text, width, [](std::wstring_view s) { return static_cast<int>(s.size()); }))
        lines.emplace_back(text.substr(line.start, line.length));
    return lines;
}

using Lines = std::vector<std::wstring>;

TEST(WordWrap, BreaksAtTheLastSpaceThatFits) {
    // Korean words stay whole: the break never falls between two syllables of a word.
    EXPECT_EQ(Wrap(L"주간 보고서 자료 정리", 7), (Lines{L"주간 보고서", L"자료 정리"}));
    EXPECT_EQ(Wrap(L"one two", 7), (Lines{L"one two"}));
    // The spaces a break falls on and the trailing ones go; leading ones stay.
    EXPECT_EQ(Wrap(L"  ab   cd      ", 4), (Lines{L"  ab", L"cd"}));
    // Before an opening parenthesis joined to a word, as Windows breaks it.
    EXPECT_EQ(Wrap(L"옛날 메모(확인함)", 6), (Lines{L"옛날 메모", L"(확인함)"}));
}

TEST(WordWrap, BreaksInsideOnlyAWordWiderThanTheLine) {
    EXPECT_EQ(Wrap(L"ab abcdefgh c", 4), (Lines{L"ab", L"abcd", L"efgh", L"c"}));
    EXPECT_EQ(Wrap(L"abc", 0), (Lines{L"a", L"b", L"c"}));  // at least one character a line
}

TEST(WordWrap, LineBreaksAndEmptyText) {
    EXPECT_EQ(Wrap(L"ab\r\ncd\n\nef", 10), (Lines{L"ab", L"cd", L"", L"ef"}));
    EXPECT_EQ(Wrap(L"", 10), (Lines{L""}));
    EXPECT_EQ(Wrap(L"   ", 10), (Lines{L""}));
}

}  // namespace
}  // namespace siborang
