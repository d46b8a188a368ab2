#include "speech/Speech.h"

#include "speech/ClipSequence.h"
#include "win/SystemLibrary.h"
#include "win/Win32.h"

namespace siborang {
namespace {

constexpr DWORD kPlaySync = SND_RESOURCE | SND_SYNC;    // 0x40004
constexpr DWORD kPlayAsync = SND_RESOURCE | SND_ASYNC;  // 0x40005

void Play(const char* clip, DWORD flags) {
    // A missing clip, sound device or sound library just means silence for that clip.
    win::PlaySoundFromSystem(clip, ::GetModuleHandleA(nullptr), flags);
}

}  // namespace

void GetToday(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    year = now.wYear;
    month = now.wMonth;
    day = now.wDay;
}

void GetNowTime(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    hour = now.wHour;
    minute = now.wMinute;
    second = now.wSecond;
}

void SpeakTime(std::uint16_t hour, std::uint16_t minute) {
    for (const std::string& clip : ClipSequence(hour, minute)) Play(clip.c_str(), kPlaySync);
}

void SpeakNow() {
    std::uint16_t hour, minute, second;
    GetNowTime(hour, minute, second);
    SpeakTime(hour, minute);
}

void PlayChime() { Play(kChimeClip, kPlayAsync); }

}  // namespace siborang
