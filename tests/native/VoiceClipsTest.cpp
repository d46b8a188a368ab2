// The voice clips are linked in as WAVE resources and handed to PlaySound one
// after another, so each must be the one format the player expects, have the
// length the spoken rhythm was timed for, and actually be heard.
// The clips are made by scripts/make-clips.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "tests/common/Wave.h"

namespace siborang {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kRate = 11025;
constexpr int kSilence = 128; // 8-bit PCM is unsigned; 128 is the zero line

using samples::ParseWave;
using samples::Wave;

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Clip {
    const char* name;
    double minSeconds, maxSeconds;
};

// Clips whose words vary in syllables may pick their own length in a range;
// the rest are timed exactly, to within one hundredth of a second.
constexpr Clip exactly(const char* name, double seconds) { return {name, seconds - 0.01, seconds + 0.01}; }

constexpr Clip kClips[] = {
    {"___HOUR1", 0.69, 1.16},   {"___HOUR2", 0.69, 1.16},   {"___HOUR3", 0.69, 1.16},
    {"___HOUR4", 0.69, 1.16},   {"___HOUR5", 0.69, 1.16},   {"___HOUR6", 0.69, 1.16},
    {"___HOUR7", 0.69, 1.16},   {"___HOUR8", 0.69, 1.16},   {"___HOUR9", 0.69, 1.16},
    exactly("___HOUR10", 0.94), exactly("___HOURS", 0.98),
    {"___MINUTE1", 0.78, 0.98}, {"___MINUTE2", 0.78, 0.98}, {"___MINUTE3", 0.78, 0.98},
    {"___MINUTE4", 0.78, 0.98}, {"___MINUTE5", 0.78, 0.98}, {"___MINUTE6", 0.78, 0.98},
    {"___MINUTE7", 0.78, 0.98}, {"___MINUTE8", 0.78, 0.98}, {"___MINUTE9", 0.78, 0.98},
    exactly("___MINUTE10", 0.73), exactly("___MINUTE", 0.85), exactly("___TODAY", 1.02),
};

void PrintTo(const Clip& clip, std::ostream* out) { *out << clip.name; }

std::string clipPath(const char* name) {
    return std::string(SIBORANG_SOURCE_DIR "/resources/clips/") + name + ".wav";
}

class VoiceClip : public testing::TestWithParam<Clip> {};

TEST_P(VoiceClip, IsPlayableAudibleAndTimed) {
    const Clip& clip = GetParam();
    const Bytes file = readFile(clipPath(clip.name));
    ASSERT_FALSE(file.empty()) << "cannot read " << clipPath(clip.name);
    const Wave w = ParseWave(file);
    ASSERT_EQ(w.error, "");

    EXPECT_EQ(std::size_t{w.riffSize} + 8, file.size()) << "RIFF size field";
    EXPECT_EQ(w.format, 1) << "PCM";
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, kRate);
    EXPECT_EQ(w.bits, 8);
    EXPECT_EQ(w.blockAlign, 1);
    EXPECT_EQ(w.byteRate, kRate);

    const Bytes& s = w.samples;
    ASSERT_FALSE(s.empty());
    const double seconds = static_cast<double>(s.size()) / kRate;
    EXPECT_GE(seconds, clip.minSeconds);
    EXPECT_LE(seconds, clip.maxSeconds);

    // 0 and 255 are where the level was clipped.
    const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    EXPECT_GT(int{*lo}, 0) << "clipped";
    EXPECT_LT(int{*hi}, 255) << "clipped";

    int peak = 0;
    double energy = 0;
    for (const std::uint8_t v : s) {
        const int d = v - kSilence;
        peak = std::max(peak, std::abs(d));
        energy += d * d;
    }
    EXPECT_GE(peak, 40) << "too quiet";
    EXPECT_GE(std::sqrt(energy / static_cast<double>(s.size())), 6.0) << "RMS too low to be heard";

    // The next clip follows straight on, so a clip must neither start late
    // nor stop mid-sound (which clicks).
    const auto loud = [](std::uint8_t v) { return std::abs(v - kSilence) > 8; };
    const auto onset = std::find_if(s.begin(), s.end(), loud) - s.begin();
    EXPECT_LT(onset, static_cast<std::ptrdiff_t>(kRate / 10)) << "starts with a long silence";
    const std::size_t tail = kRate / 100;
    EXPECT_TRUE(std::none_of(s.end() - static_cast<std::ptrdiff_t>(std::min(tail, s.size())), s.end(), loud))
        << "does not end quietly";
}

INSTANTIATE_TEST_SUITE_P(AllClips, VoiceClip, testing::ValuesIn(kClips),
                         [](const testing::TestParamInfo<Clip>& info) {
                             return std::string(info.param.name + 3); // drop the "___"
                         });

// A spoken time is one synchronous PlaySound per clip, so the silence inside the clips is the
// only pause between its words that they control: each word sounds from its clip's first
// 10 ms to within 80 ms of its end, and is faded at both cuts so that neither clicks.
class WordClip : public VoiceClip {};

TEST_P(WordClip, FillsItsClipWithoutClicks) {
    const Bytes s = ParseWave(readFile(clipPath(GetParam().name))).samples;
    ASSERT_FALSE(s.empty());
    const auto heard = [](std::uint8_t v) { return std::abs(v - kSilence) > 6; };
    const auto quiet = [](std::uint8_t v) { return std::abs(v - kSilence) <= 4; };
    const auto size = static_cast<std::ptrdiff_t>(s.size());
    const std::ptrdiff_t first = std::find_if(s.begin(), s.end(), heard) - s.begin();
    const std::ptrdiff_t last = size - (std::find_if(s.rbegin(), s.rend(), heard) - s.rbegin());
    EXPECT_LT(first, kRate / 100) << "the word starts late";
    EXPECT_GT(last, size - kRate * 8 / 100) << "the word stops " << (size - last) * 1000 / kRate << " ms before the end";

    // The fades: the first samples, and the last ones before the closing silence, are quiet.
    const std::ptrdiff_t end =
        size - (std::find_if(s.rbegin(), s.rend(), [](std::uint8_t v) { return v != kSilence; }) - s.rbegin());
    ASSERT_GE(end, 3);
    EXPECT_TRUE(std::all_of(s.begin(), s.begin() + 3, quiet)) << "clicks at the start";
    EXPECT_TRUE(std::all_of(s.begin() + end - 3, s.begin() + end, quiet)) << "clicks where the word ends";
}

// Every clip but the last, the chime.
INSTANTIATE_TEST_SUITE_P(Words, WordClip, testing::ValuesIn(std::begin(kClips), std::end(kClips) - 1),
                         [](const testing::TestParamInfo<Clip>& info) { return std::string(info.param.name + 3); });

// A script that wrote the same word everywhere would pass every check above.
TEST(VoiceClips, AreAllDifferent) {
    std::vector<Bytes> seen;
    for (const Clip& clip : kClips) {
        Bytes samples = ParseWave(readFile(clipPath(clip.name))).samples;
        ASSERT_FALSE(samples.empty()) << clip.name;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), samples), seen.end()) << clip.name << " repeats a clip";
        seen.push_back(std::move(samples));
    }
}

} // namespace
}  // namespace siborang
