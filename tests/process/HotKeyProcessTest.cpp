// The hotkey pressed on the started Siborang.exe: the clips it asks for, and the sound they make
// in real time.
//
// Usage: SiborangProcessTests.exe EXE [TRACEFILE]
//   EXE        Siborang.exe, as a Windows path or a unix path (read through drive Z:).
//   TRACEFILE  the file this program's stderr goes to; the clock is started with Wine's
//              winmm trace on, which lands there, to see which clips it asks PlaySound for.
// Environment: SIBORANG_AUDIO_CAPTURE and SIBORANG_AUDIO_FORMAT, when set, name a raw file
// where everything played is recorded in real time, and its format (see audio-sink.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "speech/ClipSequence.h"
#include "tests/common/Wave.h"
#include "tests/process/ProcessSupport.h"
#include "win/Handles.h"
#include "win/Text.h"
#include "win/Win32.h"

namespace {

using namespace siborang::process_tests;
namespace samples = siborang::samples;

// Real sound: opening the device delays the first clip; the server passes sound on late.
constexpr auto kAnnouncementSlack = 3s;
constexpr auto kSoundDrain = 1s;  // of audio captured after the handler returned
constexpr auto kSoundDrainTimeout = 3s;
constexpr auto kSoundLatency = 1s;

// ---------------------------------------------------------------------------------------------
// Real sound. process-tests.sh may run a sound server whose one sink writes everything played,
// paced by the system clock, to a raw file; SIBORANG_AUDIO_CAPTURE names that file and
// SIBORANG_AUDIO_FORMAT its format ("s16le:RATE:CHANNELS").

// A sample counts as sound, not the hiss of a quiet stretch, above this share of full scale.
constexpr double kAudibleLevel = 1.0 / 16;

std::optional<std::wstring> EnvironmentValue(const wchar_t* name) {
    wchar_t buffer[4096];
    const DWORD n = ::GetEnvironmentVariableW(name, buffer, 4096);
    if (n == 0 || n >= 4096) return std::nullopt;
    return std::wstring(buffer, n);
}

struct PcmFormat {
    unsigned rate = 0;
    unsigned channels = 0;
    unsigned bytesPerSample = 0;
    unsigned FrameBytes() const { return channels * bytesPerSample; }
    double BytesPerSecond() const { return double(rate) * FrameBytes(); }
};

// Only signed 16-bit little-endian: what audio-sink.sh records.
std::optional<PcmFormat> ParseCaptureFormat(const std::wstring& text) {
    unsigned rate = 0, channels = 0;
    wchar_t tail = 0;
    if (std::swscanf(text.c_str(), L"s16le:%u:%u%lc", &rate, &channels, &tail) != 2) return std::nullopt;
    if (rate == 0 || channels == 0) return std::nullopt;
    return PcmFormat{rate, channels, 2};
}

// How one clip sounds, from its WAVE resource.
struct ClipSound {
    double seconds = 0;
    double leadingQuiet = 0;   // before its first audible sample
    double trailingQuiet = 0;  // after its last
};

// What an announcement of these clips should put out.
struct ExpectedSound {
    std::vector<std::string> clips;
    double seconds = 0;       // all clips end to end
    double audibleSpan = 0;   // from the first audible sample to the last
};

std::int16_t Sample16(const BYTE* p) { return static_cast<std::int16_t>(samples::ReadLe(p, 2)); }

// The clock's own WAVE resources, read from the exe file without running it.
class ClipResources {
public:
    explicit ClipResources(const std::wstring& exe)
        : module_(::LoadLibraryExW(exe.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        if (!module_) error_ = ::GetLastError();
    }
    ~ClipResources() {
        if (module_) ::FreeLibrary(module_);
    }
    ClipResources(const ClipResources&) = delete;
    ClipResources& operator=(const ClipResources&) = delete;

    bool Loaded() const noexcept { return module_ != nullptr; }
    DWORD Error() const noexcept { return error_; }

    // nullopt, with the reason in `why`, when the clip is missing or not plain PCM.
    std::optional<ClipSound> Find(const std::string& name, std::string& why) const {
        auto fail = [&why](std::string reason) -> std::optional<ClipSound> {
            why = std::move(reason);
            return std::nullopt;
        };
        HRSRC info = ::FindResourceA(module_, name.c_str(), "WAVE");
        if (!info) return fail("no WAVE resource " + name);
        HGLOBAL loaded = ::LoadResource(module_, info);
        const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
        const DWORD size = ::SizeofResource(module_, info);
        if (!data) return fail("no data in WAVE resource " + name);
        const samples::Wave wave = samples::ParseWave(data, size);
        if (!wave.error.empty()) return fail(name + ": " + wave.error);
        const std::uint16_t channels = wave.channels, blockAlign = wave.blockAlign, bits = wave.bits;
        const std::uint32_t rate = wave.rate;
        if (wave.format != WAVE_FORMAT_PCM || (bits != 8 && bits != 16) || channels == 0 || rate == 0 ||
            blockAlign != channels * bits / 8)
            return fail(name + ": not 8- or 16-bit PCM");
        const BYTE* samples = wave.samples.data();
        const auto sampleBytes = static_cast<std::uint32_t>(wave.samples.size());

        const std::uint32_t frames = sampleBytes / blockAlign;
        auto level = [&](std::uint32_t i) {
            return bits == 8 ? std::abs(samples[i] - 128) / 128.0
                             : std::abs(Sample16(samples + 2 * i)) / 32768.0;
        };
        std::optional<std::uint32_t> first, last;
        for (std::uint32_t frame = 0; frame < frames; ++frame) {
            for (unsigned c = 0; c < channels; ++c) {
                if (level(frame * channels + c) > kAudibleLevel) {
                    if (!first) first = frame;
                    last = frame;
                }
            }
        }
        ClipSound clip;
        clip.seconds = double(frames) / rate;
        clip.leadingQuiet = first ? double(*first) / rate : clip.seconds;
        clip.trailingQuiet = last ? double(frames - 1 - *last) / rate : clip.seconds;
        return clip;
    }

    std::optional<ExpectedSound> Expect(const std::vector<std::string>& clips, std::string& why) const {
        ExpectedSound expected{clips, 0, 0};
        for (std::size_t i = 0; i < clips.size(); ++i) {
            const auto clip = Find(clips[i], why);
            if (!clip) return std::nullopt;
            expected.seconds += clip->seconds;
            expected.audibleSpan += clip->seconds;
            if (i == 0) expected.audibleSpan -= clip->leadingQuiet;
            if (i + 1 == clips.size()) expected.audibleSpan -= clip->trailingQuiet;
        }
        return expected;
    }

private:
    HMODULE module_;
    DWORD error_ = 0;
};

// The growing capture file, read from another process's point of view while it is written.
class AudioCapture {
public:
    AudioCapture(std::wstring path, PcmFormat format) : path_(std::move(path)), format_(format) {}

    const PcmFormat& Format() const noexcept { return format_; }
    bool Exists() const { return StateOf(path_).exists; }
    // Whole frames only: the writer may be halfway through one.
    ULONGLONG Size() const {
        const ULONGLONG size = StateOf(path_).size;
        return size - size % format_.FrameBytes();
    }

    struct Scan {
        ULONGLONG bytes = 0;                 // captured since the offset
        std::optional<double> firstAudible;  // seconds of audio after the offset
        std::optional<double> lastAudible;
        double peak = 0;                     // share of full scale
        double Seconds(const PcmFormat& f) const { return bytes / f.BytesPerSecond(); }
    };

    Scan Since(ULONGLONG offset) const {
        Scan scan;
        FileHandle file(::CreateFileW(path_.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return scan;
        const ULONGLONG end = Size();
        if (end <= offset) return scan;
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) return scan;
        std::vector<BYTE> data(static_cast<std::size_t>(end - offset));
        std::size_t got = 0;
        DWORD n = 0;
        while (got < data.size() &&
               ::ReadFile(file.Get(), data.data() + got, static_cast<DWORD>(data.size() - got), &n, nullptr) && n > 0)
            got += n;
        got -= got % format_.FrameBytes();
        scan.bytes = got;
        for (std::size_t i = 0; i + 1 < got; i += 2) {
            const double level = std::abs(Sample16(data.data() + i)) / 32768.0;
            scan.peak = std::max(scan.peak, level);
            if (level > kAudibleLevel) {
                const double seconds = (i / format_.FrameBytes()) / double(format_.rate);
                if (!scan.firstAudible) scan.firstAudible = seconds;
                scan.lastAudible = seconds;
            }
        }
        return scan;
    }

private:
    std::wstring path_;
    PcmFormat format_;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

using HotKey = ProcessTest;

// ---------------------------------------------------------------------------------------------

TEST_F(HotKey, SpeaksTheCurrentTimeClipByClip) {
    if (g_tracePath.empty()) GTEST_SKIP() << "no trace file given (second argument); clips cannot be seen";
    const SoundTrace trace(g_tracePath);

    SiborangProcess clock(workDir_.Path(), /*traceSound=*/true);
    ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
    HWND form = clock.WaitUntilReady();
    ASSERT_NE(form, nullptr);

    const ULONGLONG offset = trace.Size();
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    ASSERT_TRUE(::PostMessageW(form, WM_HOTKEY, 0, 0));

    // The minute may turn while the message is on its way: either reading is right.
    const auto expectedBefore = siborang::ClipSequence(before.wHour, before.wMinute);
    std::vector<std::string> expectedAfter;
    std::vector<std::string> clips;
    const auto deadline = Clock::now() + kClipTimeout;
    for (;;) {
        clips = Names(trace.ClipsSince(offset));
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        expectedAfter = siborang::ClipSequence(now.wHour, now.wMinute);
        if (clips == expectedBefore || clips == expectedAfter) break;
        if (clips.size() >= std::max(expectedBefore.size(), expectedAfter.size())) break;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(100ms);
    }
    // Nothing more may follow the last clip.
    std::this_thread::sleep_for(500ms);
    const auto played = trace.ClipsSince(offset);
    clips = Names(played);

    EXPECT_TRUE(clips == expectedBefore || clips == expectedAfter)
        << "played:   " << Joined(clips) << "\nexpected: " << Joined(expectedBefore)
        << (expectedAfter != expectedBefore ? "\n      or: " + Joined(expectedAfter) : std::string());
    // Played synchronously, one after the other on one thread (while the window's thread answers
    // what is sent to it), not each started asynchronously, where each would cut off the last.
    for (const auto& clip : played) {
        ASSERT_TRUE(clip.thread.has_value()) << "no thread id on the trace line of " << clip.name;
        EXPECT_EQ(*clip.thread, *played.front().thread) << clip.name << " was played on a thread of its own";
    }
    EXPECT_TRUE(clock.Running()) << "speaking ended the clock";
}

TEST_F(HotKey, AnnouncementIsPlayedInRealTimeToTheEnd) {
    const auto capturePath = EnvironmentValue(L"SIBORANG_AUDIO_CAPTURE");
    if (!capturePath) GTEST_SKIP() << "no sound capture (SIBORANG_AUDIO_CAPTURE unset): no sound server ran";
    const std::wstring formatText = EnvironmentValue(L"SIBORANG_AUDIO_FORMAT").value_or(L"");
    const auto format = ParseCaptureFormat(formatText);
    ASSERT_TRUE(format) << "SIBORANG_AUDIO_FORMAT \"" << siborang::win::Narrow(formatText)
                        << "\" is not s16le:RATE:CHANNELS";
    const AudioCapture capture(ToWindowsPath(*capturePath), *format);
    ASSERT_TRUE(capture.Exists()) << "no capture file " << siborang::win::Narrow(*capturePath);
    const ClipResources resources(g_exePath);
    ASSERT_TRUE(resources.Loaded()) << "the exe's resources cannot be read, error " << resources.Error();

    SiborangProcess clock(workDir_.Path());
    ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
    HWND form = clock.WaitUntilReady();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
        << "Ctrl+Alt+W is not held";

    const ULONGLONG captureOffset = capture.Size();
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    std::string why;
    const auto expectedBefore = resources.Expect(siborang::ClipSequence(before.wHour, before.wMinute), why);
    ASSERT_TRUE(expectedBefore) << why;

    // A message sent to the window is answered even in the middle of a clip (Wine's winmm
    // sends to its own device thread, and a thread waiting on a sent message handles those
    // sent to it), but a posted one waits for the hotkey's handler to return. A close request
    // posted behind the hotkey shows that moment at once: the hotkey is let go first thing.
    const auto posted = Clock::now();
    ASSERT_TRUE(::PostMessageW(form, WM_HOTKEY, 0, 0));
    ASSERT_TRUE(::PostMessageW(form, WM_CLOSE, 0, 0));
    const auto busyLimit = std::chrono::duration<double>(expectedBefore->seconds) + kAnnouncementSlack + kCloseTimeout;
    bool released = false;
    while (!released && Clock::now() - posted < busyLimit) {
        released = ProbeDefaultHotKey() == 0 || !clock.Running();
        if (!released) std::this_thread::sleep_for(5ms);
    }
    const auto finished = Clock::now();
    ASSERT_TRUE(released) << "the clock was still busy with the hotkey " << Seconds(finished - posted)
                          << " s after it; sound captured meanwhile: "
                          << capture.Since(captureOffset).Seconds(*format) << " s";
    const double elapsed = Seconds(finished - posted);

    // The minute may have turned meanwhile: either reading is right.
    SYSTEMTIME after;
    ::GetLocalTime(&after);
    const auto expectedAfter = resources.Expect(siborang::ClipSequence(after.wHour, after.wMinute), why);
    ASSERT_TRUE(expectedAfter) << why;
    const std::vector<ExpectedSound> candidates{*expectedBefore, *expectedAfter};

    // The server hands sound on with some delay; let what was played reach the file.
    const ULONGLONG sizeAtEnd = capture.Size();
    const auto drainDeadline = finished + kSoundDrainTimeout;
    while (capture.Size() < sizeAtEnd + static_cast<ULONGLONG>(format->BytesPerSecond() * Seconds(kSoundDrain)) &&
           Clock::now() < drainDeadline)
        std::this_thread::sleep_for(50ms);
    const auto scan = capture.Since(captureOffset);

    std::ostringstream report;
    report << "elapsed " << elapsed << " s; captured " << scan.Seconds(*format) << " s, peak " << scan.peak;
    if (scan.firstAudible)
        report << ", sound from " << *scan.firstAudible << " s to " << *scan.lastAudible << " s";
    for (const auto& e : candidates) {
        if (&e != &candidates.front() && e.clips == candidates.front().clips) continue;
        report << "\nexpected " << Joined(e.clips) << ": " << e.seconds << " s, sound spanning " << e.audibleSpan
               << " s";
    }
    const std::string details = report.str();
    std::printf("[ sound    ] %s\n", details.c_str());

    ASSERT_GT(scan.bytes, 0u) << "nothing reached the capture file: the sound server is not recording\n"
                              << details;
    const double fewestSeconds = std::min(candidates[0].seconds, candidates[1].seconds);
    EXPECT_GE(double(scan.bytes), 0.8 * fewestSeconds * format->BytesPerSecond())
        << "less audio was captured than the announcement lasts\n" << details;
    ASSERT_TRUE(scan.firstAudible) << "all the audio captured since the hotkey is silent\n" << details;

    // Played to the end before the thread went on: no sooner than the clips last, and not
    // held up for long after them.
    const bool timely = std::any_of(candidates.begin(), candidates.end(), [&](const ExpectedSound& e) {
        return elapsed >= 0.9 * e.seconds && elapsed < e.seconds + Seconds(kAnnouncementSlack);
    });
    EXPECT_TRUE(timely) << "the hotkey's handler took " << elapsed << " s\n" << details;

    // All of it was heard, in one piece, and nothing more.
    const double span = *scan.lastAudible - *scan.firstAudible;
    const bool whole = std::any_of(candidates.begin(), candidates.end(), [&](const ExpectedSound& e) {
        return span >= 0.9 * e.audibleSpan && span < e.seconds + Seconds(kAnnouncementSlack);
    });
    EXPECT_TRUE(whole) << "the sound spans " << span << " s\n" << details;
    // Sound still arriving well after the handler returned was left to play on without it.
    EXPECT_LT(*scan.lastAudible, elapsed + Seconds(kSoundLatency))
        << "sound went on after the hotkey's handler had returned\n" << details;
}

}  // namespace
