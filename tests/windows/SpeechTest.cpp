// The spoken time's clips as the program finds them in its own resources.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "speech/ClipSequence.h"
#include "speech/Speech.h"
#include "win/Win32.h"

namespace siborang {
namespace {

// The clip's bytes as linked into this module, found the way PlaySoundA finds them.
std::pair<const unsigned char*, DWORD> FindClip(const std::string& name) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC info = ::FindResourceA(module, name.c_str(), "WAVE");
    if (!info) return {nullptr, 0};
    HGLOBAL data = ::LoadResource(module, info);
    return {static_cast<const unsigned char*>(::LockResource(data)), ::SizeofResource(module, info)};
}

TEST(VoiceClips, EveryClipTheCompositionAsksForIsLinkedIn) {
    std::set<std::string> names{kChimeClip};
    for (std::uint16_t hour = 0; hour < 24; ++hour) {
        for (std::uint16_t minute = 0; minute < 60; ++minute) {
            for (auto& clip : ClipSequence(hour, minute)) names.insert(clip);
        }
    }
    EXPECT_EQ(names.size(), 23u);  // every clip of the set is used
    for (const std::string& name : names) {
        auto [bytes, size] = FindClip(name);
        ASSERT_NE(bytes, nullptr) << name;
        ASSERT_GT(size, 44u) << name;
        EXPECT_EQ(std::memcmp(bytes, "RIFF", 4), 0) << name;
        EXPECT_EQ(std::memcmp(bytes + 8, "WAVE", 4), 0) << name;
    }
    // Mixed case finds the upper-case resource, and a name outside the set finds nothing.
    EXPECT_NE(FindClip("___hours").first, nullptr);
    EXPECT_EQ(FindClip("___Hour0").first, nullptr);
}

TEST(Clock, TodayAndNowComeFromTheLocalTime) {
    SYSTEMTIME before, after;
    ::GetLocalTime(&before);
    std::uint16_t year, month, day, hour, minute, second;
    GetToday(year, month, day);
    GetNowTime(hour, minute, second);
    ::GetLocalTime(&after);
    EXPECT_TRUE(year == before.wYear || year == after.wYear);
    EXPECT_TRUE(month == before.wMonth || month == after.wMonth);
    EXPECT_TRUE(day == before.wDay || day == after.wDay);
    EXPECT_TRUE(hour == before.wHour || hour == after.wHour);
    EXPECT_TRUE(minute == before.wMinute || minute == after.wMinute);
    EXPECT_LT(second, 60);
}

}  // namespace
}  // namespace siborang
