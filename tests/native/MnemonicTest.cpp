#include "core/Mnemonic.h"

#include <gtest/gtest.h>

namespace siborang {
namespace {

// The caption a button shows and the letter Alt presses it by come from one reading of "&":
// "&&" is an ampersand, never a mark.
TEST(Mnemonic, OneAmpersandMarksTheLetterAfterItAndTwoAreOneShown) {
    EXPECT_EQ(WithoutMnemonic(L"작동 하기[&R]"), L"작동 하기[R]");
    EXPECT_EQ(MnemonicOf(L"작동 하기[&R]"), L'R');
    EXPECT_EQ(WithoutMnemonic(L"A && B"), L"A & B");
    EXPECT_EQ(MnemonicOf(L"A && B"), std::nullopt);
    EXPECT_EQ(MnemonicOf(L"&&Save &As"), L'A');
    EXPECT_EQ(MnemonicOf(L"&Open &Close"), L'O') << "the first mark counts";
    EXPECT_EQ(WithoutMnemonic(L"end&"), L"end");
    EXPECT_EQ(MnemonicOf(L"end&"), std::nullopt);
}

}  // namespace
}  // namespace siborang
