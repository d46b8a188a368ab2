#pragma once
// The memo note's controls in creation (and stacking) order.
#include "clock/Unit3.h"
#include "resources/ResourceNames.h"

namespace siborang {

inline const win::FormSpec kForm3Spec{
    .className = L"TForm3",
    .caption = L"Form3",
    .left = 322, .top = 292,
    .clientWidth = 229, .clientHeight = 225,
    .font = {L"MS Sans Serif", 11, false, false, win::kWindowTextColor},
};

using Form3Row = win::Row<TForm3>;

inline const Form3Row kForm3Layout[] = {
    {{.name = "Image1", .left = 5, .top = 5, .width = 220, .height = 212},
     win::Into<&TForm3::Image1>({.picture = kNoteBitmap, .stretch = true})},
    {{.name = "Label1", .left = 10, .top = 17, .width = 64, .height = 12, .caption = L"1997. 11. 24",
         .font = {L"굴림", 12, false, true, RGB(255, 255, 255)}},
     win::Into<&TForm3::Label1>({.transparent = true, .autoSize = true})},
    {{.name = "Label2", .left = 15, .top = 49, .width = 202, .height = 121, .caption = L"내용",
         .font = {L"굴림", 13, false, false, RGB(255, 255, 255)}},
     win::Into<&TForm3::Label2>({.transparent = true, .centered = true, .wrapAtSpaces = true})},
    {{.name = "Button1", .left = 205, .top = 196, .width = 18, .height = 18, .caption = L"X",
         .font = {L"MS Sans Serif", 11, true, false, RGB(0, 0, 0)}, .tabOrder = 0},
     win::Into<&TForm3::Button1>({.cancel = true}), {.click = &TForm3::Button1Click}},
};

}  // namespace siborang
