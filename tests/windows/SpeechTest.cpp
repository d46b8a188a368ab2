// The spoken time's clips as the program finds them in its own resources.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <set>
#include <thread>

#include "speech/ClipSequence.h"
#include "speech/Speech.h"
#include "win/Application.h"
#include "win/Handles.h"
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

// Windows' synchronous play holds the thread that calls it and never looks at its queue; the
// stand-in does the same, the first clip for 3 s.
std::atomic<int> g_clipsPlayed{0};
void HoldLikeSynchronousPlay(const char*) {
    if (g_clipsPlayed++ == 0) ::Sleep(3000);
}

class Announcement : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = PlayClipToEnd;
        PlayClipToEnd = &HoldLikeSynchronousPlay;
        g_clipsPlayed = 0;
    }
    void TearDown() override { PlayClipToEnd = saved_; }

    using Clock = std::chrono::steady_clock;
    static double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
    const std::size_t clips_ = ClipSequence(12, 34).size();

private:
    ClipPlayer saved_ = nullptr;
};

// A screen reader's request or the system's hung-window check is answered while the time is
// spoken; a hotkey or a click posted meanwhile waits until it has been.
TEST_F(Announcement, AnswersWhatIsSentAndLeavesWhatIsPostedWaiting) {
    const win::Window window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                               ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    double answeredAfter = -1;
    std::thread other([&] {
        ::Sleep(300);
        ::PostMessageW(window.Get(), WM_APP, 0, 0);
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutW(window.Get(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result))
            answeredAfter = Seconds(Clock::now() - sent);
    });
    const auto start = Clock::now();
    const bool whole = SpeakTime(12, 34);
    const double took = Seconds(Clock::now() - start);
    other.join();
    EXPECT_TRUE(whole);
    EXPECT_EQ(static_cast<std::size_t>(g_clipsPlayed), clips_);
    EXPECT_GE(took, 2.9);
    EXPECT_GE(answeredAfter, 0.0) << "the sent message was never answered";
    EXPECT_LT(answeredAfter, 1.0);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, window.Get(), WM_APP, WM_APP, PM_REMOVE)) << "the posted message did not wait";
}

// Told that the session ends, the program stops speaking: no clip follows the one playing. A
// session's end called off lets the next announcement speak.
TEST_F(Announcement, TheSessionsEndEndsItEarly) {
    const HWND app = win::Application::Instance().Handle();
    std::thread other([&] {
        ::Sleep(300);
        ::SendMessageW(app, WM_ENDSESSION, TRUE, 0);
    });
    const auto start = Clock::now();
    EXPECT_FALSE(SpeakTime(12, 34));
    other.join();
    EXPECT_LT(Seconds(Clock::now() - start), 3.5);
    EXPECT_EQ(g_clipsPlayed, 1);

    ::SendMessageW(app, WM_ENDSESSION, FALSE, 0);
    PlayClipToEnd = [](const char*) { ++g_clipsPlayed; };
    g_clipsPlayed = 0;
    EXPECT_TRUE(SpeakTime(12, 34));
    EXPECT_EQ(static_cast<std::size_t>(g_clipsPlayed), clips_);
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
