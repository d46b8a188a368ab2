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

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kRate = 11025;
constexpr int kSilence = 128; // 8-bit PCM is unsigned; 128 is the zero line

struct Wave {
    std::string error; // empty when the file parsed
    std::uint32_t riffSize = 0;
    std::uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0;
    std::uint32_t rate = 0, byteRate = 0;
    Bytes samples;
};

std::uint32_t le(const Bytes& b, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

bool tagAt(const Bytes& b, std::size_t at, const char* tag) {
    return std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Walks the RIFF chunks instead of trusting fixed offsets: a LIST chunk or
// a pad byte after an odd-sized chunk must not confuse it.
Wave parseWave(const Bytes& b) {
    Wave w;
    if (b.size() < 12 || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE")) {
        w.error = "not a RIFF/WAVE file";
        return w;
    }
    w.riffSize = le(b, 4, 4);
    const std::size_t end = std::min<std::size_t>(b.size(), std::size_t{w.riffSize} + 8);
    bool haveFmt = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= end;) {
        const std::size_t size = le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > end - body) {
            w.error = "chunk runs past the end of the file";
            return w;
        }
        if (tagAt(b, at, "fmt ")) {
            if (size < 16) {
                w.error = "fmt chunk too short";
                return w;
            }
            w.format = static_cast<std::uint16_t>(le(b, body, 2));
            w.channels = static_cast<std::uint16_t>(le(b, body + 2, 2));
            w.rate = le(b, body + 4, 4);
            w.byteRate = le(b, body + 8, 4);
            w.blockAlign = static_cast<std::uint16_t>(le(b, body + 12, 2));
            w.bits = static_cast<std::uint16_t>(le(b, body + 14, 2));
            haveFmt = true;
        } else if (tagAt(b, at, "data")) {
            w.samples.assign(b.begin() + static_cast<std::ptrdiff_t>(body),
                             b.begin() + static_cast<std::ptrdiff_t>(body + size));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFmt || !haveData) w.error = "missing fmt or data chunk";
    return w;
}

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
    const Wave w = parseWave(file);
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
    const Bytes s = parseWave(readFile(clipPath(GetParam().name))).samples;
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
        Bytes samples = parseWave(readFile(clipPath(clip.name))).samples;
        ASSERT_FALSE(samples.empty()) << clip.name;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), samples), seen.end()) << clip.name << " repeats a clip";
        seen.push_back(std::move(samples));
    }
}

// The chunk walker itself: skips unknown chunks and their pad byte, and
// rejects a data chunk longer than the file.
TEST(VoiceClips, ParserWalksChunks) {
    const auto u32 = [](Bytes& b, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto tag = [](Bytes& b, const char* t) { b.insert(b.end(), t, t + 4); };
    Bytes b;
    tag(b, "RIFF");
    u32(b, 0);
    tag(b, "WAVE");
    tag(b, "LIST");
    u32(b, 3);
    b.insert(b.end(), {'a', 'b', 'c', 0});
    tag(b, "fmt ");
    u32(b, 16);
    b.insert(b.end(), {1, 0, 1, 0});
    u32(b, kRate);
    u32(b, kRate);
    b.insert(b.end(), {1, 0, 8, 0});
    tag(b, "data");
    u32(b, 3);
    b.insert(b.end(), {128, 200, 56, 0});
    const auto setRiffSize = [&b] {
        for (int i = 0; i < 4; ++i) b[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((b.size() - 8) >> (8 * i));
    };
    setRiffSize();

    const Wave ok = parseWave(b);
    ASSERT_EQ(ok.error, "");
    EXPECT_EQ(ok.format, 1);
    EXPECT_EQ(ok.rate, kRate);
    EXPECT_EQ(ok.bits, 8);
    EXPECT_EQ(ok.samples, (Bytes{128, 200, 56}));

    b.resize(b.size() - 3); // cut into the data chunk
    setRiffSize();
    EXPECT_NE(parseWave(b).error, "");
}

} // namespace
