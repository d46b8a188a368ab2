#pragma once
// The main window's controls in creation (and stacking) order.
#include "clock/Unit1.h"
#include "resources/ResourceNames.h"

namespace siborang {

inline constexpr win::FontSpec kGulim12{L"굴림", 12, false, false, RGB(0, 0, 0)};

inline const win::FormSpec kForm1Spec{
    .className = L"TForm1",
    .caption = L"시보랑",
    .left = 316, .top = 222,
    .clientWidth = 320, .clientHeight = 239,
    .font = kGulim12,
    .titleLabel = "Label1",
};

using Form1Row = win::Row<TForm1>;

inline constexpr win::FontSpec kCourierX{L"Courier New", 13, true, false, RGB(0, 0, 0)};
inline constexpr win::FontSpec kCourierQuestion{L"Courier New", 15, true, false, RGB(0, 0, 0)};

inline const Form1Row kForm1Layout[] = {
    {{.name = "Image2", .left = 0, .top = 0, .width = 44, .height = 39},
     win::Into<&TForm1::Image2>({.picture = kMainIcon, .icon = true, .centered = true})},
    {{.name = "Bevel1", .left = 8, .top = 168, .width = 305, .height = 9},
     win::Into<&TForm1::Bevel1>({.topLine = true})},
    {{.name = "Panel1", .left = 45, .top = 0, .width = 276, .height = 22,
         .font = {L"MS Serif", 13, false, false, RGB(255, 255, 255)}, .color = RGB(0, 0, 0), .tabOrder = 0,
         .labelledBy = "Label1"},
     win::Into<&TForm1::Panel1>(), {.mouseDown = &TForm1::Panel1MouseDown, .mouseMove = &TForm1::Panel1MouseMove,
         .mouseUp = &TForm1::Panel1MouseUp}},
    {{.name = "SpeedButton1", .parent = "Panel1", .left = 256, .top = 4, .width = 16, .height = 14, .caption = L"X",
         .font = kCourierX},
     win::Into<&TForm1::SpeedButton1>(), {.click = &TForm1::SpeedButton1Click}},
    {{.name = "SpeedButton2", .parent = "Panel1", .left = 239, .top = 4, .width = 16, .height = 14, .caption = L"?",
         .font = kCourierQuestion},
     win::Into<&TForm1::SpeedButton2>({.helpKey = true}), {.click = &TForm1::SpeedButton2Click}},
    {{.name = "Image1", .parent = "Panel1", .left = 2, .top = 2, .width = 160, .height = 18},
     win::Into<&TForm1::Image1>({.picture = kTitleBitmap}), {.mouseDown = &TForm1::Panel1MouseDown,
         .mouseMove = &TForm1::Panel1MouseMove, .mouseUp = &TForm1::Panel1MouseUp}},
    {{.name = "Label1", .parent = "Panel1", .left = 5, .top = 4, .width = 70, .height = 13, .caption = L"시보랑",
         .font = {L"돋움", 13, false, false, RGB(255, 255, 255)}},
     win::Into<&TForm1::Label1>({.transparent = true, .autoSize = true}), {.mouseDown = &TForm1::Panel1MouseDown,
         .mouseMove = &TForm1::Panel1MouseMove, .mouseUp = &TForm1::Panel1MouseUp}},
    {{.name = "GroupBox1", .left = 8, .top = 48, .width = 305, .height = 105, .caption = L" 작동 환경 설정 ",
         .tabOrder = 1},
     win::Into<&TForm1::GroupBox1>()},
    {{.name = "Label2", .parent = "GroupBox1", .left = 245, .top = 50, .width = 40, .height = 12, .caption = L"분 마다"},
     win::Into<&TForm1::Label2>({.autoSize = true})},
    {{.name = "Label3", .parent = "GroupBox1", .left = 16, .top = 27, .width = 52, .height = 12, .caption = L"핫키 등록"},
     win::Into<&TForm1::Label3>({.autoSize = true})},
    {{.name = "HotKey1", .parent = "GroupBox1", .left = 80, .top = 24, .width = 201, .height = 19, .tabOrder = 0,
         .labelledBy = "Label3"},
     win::Into<&TForm1::HotKey1>({.shortcut = 49239, .invalidCombinations = HKCOMB_NONE | HKCOMB_S,
         .fallbackModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT})},
    {{.name = "CheckBox1", .parent = "GroupBox1", .left = 16, .top = 48, .width = 177, .height = 17,
         .caption = L"일정한 시간마다 시간 말하기", .tabOrder = 1},
     win::Into<&TForm1::CheckBox1>({.checked = true}), {.click = &TForm1::CheckBox1Click}},
    {{.name = "CheckBox2", .parent = "GroupBox1", .left = 16, .top = 72, .width = 209, .height = 17,
         .caption = L"정해진 시간에 특정 메모 보여주기", .tabOrder = 2},
     win::Into<&TForm1::CheckBox2>({.checked = true})},
    {{.name = "Edit1", .parent = "GroupBox1", .left = 200, .top = 48, .width = 41, .height = 20, .caption = L"30",
         .tabOrder = 3, .labelledBy = "Label2"},
     win::Into<&TForm1::Edit1>(), {.exit = &TForm1::Edit1Exit}},
    {{.name = "Button4", .left = 14, .top = 184, .width = 65, .height = 25, .caption = L"메모 작성", .tabOrder = 2},
     win::Into<&TForm1::Button4>(), {.click = &TForm1::Button4Click}},
    {{.name = "Button1", .left = 84, .top = 184, .width = 67, .height = 25, .caption = L"들어 보기", .tabOrder = 3,
         .disabled = true},
     win::Into<&TForm1::Button1>(), {.click = &TForm1::Button1Click}},
    {{.name = "Button2", .left = 156, .top = 184, .width = 151, .height = 25, .caption = L"작동 하기[&R]", .tabOrder = 4},
     win::Into<&TForm1::Button2>(), {.click = &TForm1::Button2Click}},
};

}  // namespace siborang
