#pragma once
// RIFF WAVE files as the tests read them: little-endian fields, and the chunks walked instead of
// fixed offsets trusted, so that a LIST chunk or the pad byte after an odd-sized chunk cannot
// confuse a reader. Portable.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace siborang::samples {

// `width` bytes at `p`, least significant first.
inline std::uint32_t ReadLe(const std::uint8_t* p, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

struct Wave {
    std::string error;  // empty when the file parsed
    std::uint32_t riffSize = 0;
    std::uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0;
    std::uint32_t rate = 0, byteRate = 0;
    std::vector<std::uint8_t> samples;
};

inline Wave ParseWave(const std::uint8_t* b, std::size_t size) {
    Wave w;
    const auto tagAt = [b](std::size_t at, const char* tag) { return std::equal(tag, tag + 4, b + at); };
    if (size < 12 || !tagAt(0, "RIFF") || !tagAt(8, "WAVE")) {
        w.error = "not a RIFF/WAVE file";
        return w;
    }
    w.riffSize = ReadLe(b + 4, 4);
    const std::size_t end = std::min<std::size_t>(size, std::size_t{w.riffSize} + 8);
    bool haveFmt = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= end;) {
        const std::size_t chunk = ReadLe(b + at + 4, 4);
        const std::size_t body = at + 8;
        if (chunk > end - body) {
            w.error = "chunk runs past the end of the file";
            return w;
        }
        if (tagAt(at, "fmt ")) {
            if (chunk < 16) {
                w.error = "fmt chunk too short";
                return w;
            }
            w.format = static_cast<std::uint16_t>(ReadLe(b + body, 2));
            w.channels = static_cast<std::uint16_t>(ReadLe(b + body + 2, 2));
            w.rate = ReadLe(b + body + 4, 4);
            w.byteRate = ReadLe(b + body + 8, 4);
            w.blockAlign = static_cast<std::uint16_t>(ReadLe(b + body + 12, 2));
            w.bits = static_cast<std::uint16_t>(ReadLe(b + body + 14, 2));
            haveFmt = true;
        } else if (tagAt(at, "data")) {
            w.samples.assign(b + body, b + body + chunk);
            haveData = true;
        }
        at = body + chunk + (chunk & 1);
    }
    if (!haveFmt || !haveData) w.error = "missing fmt or data chunk";
    return w;
}

inline Wave ParseWave(const std::vector<std::uint8_t>& bytes) { return ParseWave(bytes.data(), bytes.size()); }

}  // namespace siborang::samples
