#include "speech/Speech.h"

#include "speech/ClipSequence.h"
#include "win/Application.h"
#include "win/SystemLibrary.h"
#include "win/WaitAnsweringSent.h"
#include "win/Win32.h"

namespace siborang {
namespace {

constexpr DWORD kPlaySync = SND_RESOURCE | SND_SYNC;    // 0x40004
constexpr DWORD kPlayAsync = SND_RESOURCE | SND_ASYNC;  // 0x40005

void Play(const char* clip, DWORD flags) {
    // A missing clip, sound device or sound library just means silence for that clip.
    win::PlaySoundFromSystem(clip, ::GetModuleHandleA(nullptr), flags);
}

void PlaySync(const char* clip) { Play(clip, kPlaySync); }

// Stops the clip playing now, whichever thread plays it.
void StopSound() { win::PlaySoundFromSystem(nullptr, nullptr, 0); }

}  // namespace

ClipPlayer PlayClipToEnd = &PlaySync;

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

bool SpeakTime(std::uint16_t hour, std::uint16_t minute) {
    if (win::AnsweringSentOnly()) return true;
    const std::vector<std::string> clips = ClipSequence(hour, minute);
    return win::WaitAnsweringSent({
        .work =
            [&clips](const std::atomic<bool>& stop) {
                for (const std::string& clip : clips) {
                    if (stop) return;
                    PlayClipToEnd(clip.c_str());
                }
            },
        .ended = [] { return win::Application::Instance().Ending(); },
        .interrupt = &StopSound,
    });
}

bool SpeakNow() {
    std::uint16_t hour, minute, second;
    GetNowTime(hour, minute, second);
    return SpeakTime(hour, minute);
}

void PlayChime() { Play(kChimeClip, kPlayAsync); }

}  // namespace siborang
