#include "core/FontFace.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace siborang {
namespace {

TEST(FontFace, BitmapFacesTurnOutlineAbove100PercentAndAMissingKoreanFaceTakesOneThatIsThere) {
    std::set<std::wstring> faces{L"굴림", L"맑은 고딕"};
    const auto installed = [&](std::wstring_view face) { return faces.count(std::wstring(face)) > 0; };
    auto face = [&](std::wstring_view designed, int dpi) {
        return std::wstring(ChooseFace(designed, dpi, installed).face);
    };

    EXPECT_EQ(face(L"MS Serif", 96), L"MS Serif");
    EXPECT_EQ(face(L"MS Serif", 120), L"Times New Roman");
    EXPECT_EQ(face(L"MS Sans Serif", 96), L"MS Sans Serif");
    EXPECT_EQ(face(L"MS Sans Serif", 144), L"Microsoft Sans Serif");
    EXPECT_EQ(face(L"Courier New", 192), L"Courier New");
    EXPECT_EQ(face(L"굴림", 96), L"굴림");
    EXPECT_FALSE(ChooseFace(L"굴림", 96, installed).byLineHeight);

    faces.erase(L"굴림");
    EXPECT_EQ(face(L"굴림", 96), L"맑은 고딕");
    EXPECT_TRUE(ChooseFace(L"돋움", 144, installed).byLineHeight);
    faces.clear();  // nothing to stand in: the system's own choice for the name
    EXPECT_EQ(face(L"굴림", 96), L"굴림");
}

}  // namespace
}  // namespace siborang
