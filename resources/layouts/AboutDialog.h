#pragma once
// The about dialog's controls in creation order; the labels and icons lie on Panel1.
#include "clock/Unit4.h"
#include "resources/ResourceNames.h"

namespace siborang {

inline const win::FormSpec kForm4Spec{
    .className = L"TForm4",
    .caption = L"시보랑(v1.8) 제작자에 관하여...",
    .left = 290, .top = 236,
    .clientWidth = 344, .clientHeight = 229,
    .font = {L"MS Sans Serif", 11, false, false, win::kWindowTextColor},
    .screenCenter = true,
};

inline constexpr win::FontSpec kAboutGulim{L"굴림", 12, false, false, RGB(0, 0, 0)};

using Form4Row = win::Row<TForm4>;

inline const Form4Row kForm4Layout[] = {
    {{.name = "Bevel1", .left = 8, .top = 168, .width = 329, .height = 9},
     win::Into<&TForm4::Bevel1>({.topLine = true})},
    {{.name = "Panel1", .left = 8, .top = 8, .width = 329, .height = 153, .font = kAboutGulim,
         .color = win::kButtonFaceColor, .tabOrder = 0},
     win::Into<&TForm4::Panel1>()},
    {{.name = "Label1", .parent = "Panel1", .left = 60, .top = 16, .width = 94, .height = 12,
         .caption = L"시보랑 개발팀 (별명: 시계지기)"},
     win::Into<&TForm4::Label1>({.autoSize = true})},
    {{.name = "Label2", .parent = "Panel1", .left = 60, .top = 32, .width = 192, .height = 12,
         .caption = L"시보랑 프로젝트 데스크톱 시계 연구실"},
     win::Into<&TForm4::Label2>({.autoSize = true})},
    {{.name = "Label3", .parent = "Panel1", .left = 60, .top = 47, .width = 229, .height = 13,
         .caption = L"Siborang Project, Desktop Clock Laboratory",
         .font = {L"MS Serif", 11, false, false, RGB(0, 0, 0)}},
     win::Into<&TForm4::Label3>({.autoSize = true})},
    {{.name = "Label4", .parent = "Panel1", .left = 60, .top = 64, .width = 240, .height = 12,
         .caption = L"늘 제때, 늘 곁에서 시간을 알려 주는 친구"},
     win::Into<&TForm4::Label4>({.autoSize = true})},
    {{.name = "Label5", .parent = "Panel1", .left = 60, .top = 80, .width = 162, .height = 12,
         .caption = L"siborang@example.org", .font = {L"굴림", 12, false, false, RGB(0, 0, 255)}},
     win::Into<&TForm4::Label5>({.autoSize = true})},
    {{.name = "Label6", .parent = "Panel1", .left = 35, .top = 112, .width = 260, .height = 25,
         .caption = L"문제점이나 제안은 위 주소로 보내 주세요.", .font = {L"굴림", 12, false, false, RGB(255, 0, 0)}},
     win::Into<&TForm4::Label6>({.centered = true})},
    {{.name = "Image1", .parent = "Panel1", .left = 16, .top = 16, .width = 33, .height = 33},
     win::Into<&TForm4::Image1>({.picture = kMainIcon, .icon = true})},
    {{.name = "Image2", .parent = "Panel1", .left = 16, .top = 56, .width = 33, .height = 33},
     win::Into<&TForm4::Image2>({.picture = kMailboxIcon, .icon = true})},
    {{.name = "Button1", .left = 133, .top = 184, .width = 78, .height = 25, .caption = L"닫  기", .font = kAboutGulim,
         .tabOrder = 1},
     win::Into<&TForm4::Button1>({.cancel = true}), {.click = &TForm4::Button1Click}},
};

}  // namespace siborang
