#include "core/FontFace.h"

#include "core/Dpi.h"

namespace siborang {

FaceChoice ChooseFace(std::wstring_view designed, int dpi, const std::function<bool(std::wstring_view)>& installed) {
    if (dpi > kDesignDpi) {
        if (designed == L"MS Serif") return {L"Times New Roman"};
        if (designed == L"MS Sans Serif") return {L"Microsoft Sans Serif"};
    }
    if ((designed == L"굴림" || designed == L"돋움") && !installed(designed) && installed(L"맑은 고딕"))
        return {L"맑은 고딕", true};
    return {designed};
}

}  // namespace siborang
