// Speaks one given time with the program's own player and clips, for measuring how the spoken
// time sounds (scripts/measure-gaps.sh); the clock itself only ever speaks the current time.
//
//   SpeakDriver.exe HOUR MINUTE          speaks that time, as the hotkey would
//   SpeakDriver.exe --file WAV COUNT     plays a sound file COUNT times back to back, the same
//                                        way, to see the player's own pause between two calls
//
// Prints how long each call took; for a time, first the clips it is spoken with.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "speech/ClipSequence.h"
#include "speech/Speech.h"
#include "win/Win32.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

template <typename Play>
void Timed(const char* what, double start, Play play) {
    const double begin = Now();
    play();
    std::printf("%-14s at %8.1f ms took %7.1f ms\n", what, begin - start, Now() - begin);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const double start = Now();
    if (argc == 4 && std::wstring(argv[1]) == L"--file") {
        const std::wstring file = argv[2];
        for (int i = 0, n = _wtoi(argv[3]); i < n; ++i)
            Timed("file", start, [&] { ::PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_SYNC); });
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: SpeakDriver.exe HOUR MINUTE | --file WAV COUNT\n");
        return 2;
    }
    const auto hour = static_cast<std::uint16_t>(_wtoi(argv[1]));
    const auto minute = static_cast<std::uint16_t>(_wtoi(argv[2]));
    std::printf("clips");
    for (const std::string& clip : siborang::ClipSequence(hour, minute)) std::printf(" %s", clip.c_str());
    std::printf("\n");
    Timed("announcement", start, [&] { siborang::SpeakTime(hour, minute); });
    return 0;
}
