#pragma once
// Which face to ask the system for, for a face a layout names. The layouts name "MS Serif" and
// "MS Sans Serif", bitmap faces made in a few sizes only, which above 100% Windows draws at a
// smaller size or blocky: there their outline equivalents stand in. 굴림 and 돋움 are optional
// on Windows outside Korea; where they are missing, 맑은 고딕 (on every Windows since Vista)
// stands in, sized by its line height, which is taller than theirs at the same letter size, so
// that the layouts' boxes still hold its lines. Portable: the caller says what is installed.
#include <functional>
#include <string_view>

namespace siborang {

struct FaceChoice {
    std::wstring_view face;
    // The height is the face's line (cell) height rather than its letters' height.
    bool byLineHeight = false;
};

FaceChoice ChooseFace(std::wstring_view designed, int dpi, const std::function<bool(std::wstring_view)>& installed);

}  // namespace siborang
