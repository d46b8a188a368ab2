#pragma once
// The main window's controls in creation (and stacking) order.
#include "clock/Unit1.h"

namespace siborang {

inline constexpr win::FontSpec kGulim12{L"굴림", 12, false, false, RGB(0, 0, 0)};

inline const win::FormSpec kForm1Spec{
    .className = L"TForm1",
    .caption = L"Form1",
    .left = 316, .top = 222,
    .clientWidth = 320, .clientHeight = 239,
    .font = kGulim12,
};

using Form1Row = win::ControlDef<TForm1>;
using win::ControlKind;

inline const Form1Row kForm1Layout[] = {
    {{.name = "GroupBox1", .kind = ControlKind::GroupBox, .left = 8, .top = 48, .width = 305, .height = 105,
      .caption = L" 작동 환경 설정 ", .tabOrder = 1},
     &TForm1::GroupBox1},
    {{.name = "Label2", .kind = ControlKind::Label, .parent = "GroupBox1", .left = 245, .top = 50, .width = 40,
      .height = 12, .caption = L"분 마다", .options = win::kAutoSize},
     &TForm1::Label2},
    {{.name = "Label3", .kind = ControlKind::Label, .parent = "GroupBox1", .left = 16, .top = 27, .width = 52,
      .height = 12, .caption = L"핫키 등록", .options = win::kAutoSize},
     &TForm1::Label3},
    {{.name = "HotKey1", .kind = ControlKind::HotKey, .parent = "GroupBox1", .left = 80, .top = 24, .width = 201,
      .height = 19, .tabOrder = 0, .hotKey = 49239,
      .invalidCombinations = HKCOMB_NONE | HKCOMB_S, .fallbackModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT},
     &TForm1::HotKey1},
    {{.name = "CheckBox1", .kind = ControlKind::CheckBox, .parent = "GroupBox1", .left = 16, .top = 48,
      .width = 177, .height = 17, .caption = L"일정한 시간마다 시간 말하기", .tabOrder = 1,
      .options = win::kChecked},
     &TForm1::CheckBox1, &TForm1::CheckBox1Click},
    {{.name = "CheckBox2", .kind = ControlKind::CheckBox, .parent = "GroupBox1", .left = 16, .top = 72,
      .width = 209, .height = 17, .caption = L"정해진 시간에 특정 메모 보여주기", .tabOrder = 2,
      .options = win::kChecked},
     &TForm1::CheckBox2},
    {{.name = "Edit1", .kind = ControlKind::Edit, .parent = "GroupBox1", .left = 200, .top = 48, .width = 41,
      .height = 20, .caption = L"30", .tabOrder = 3},
     &TForm1::Edit1},
    {{.name = "Button4", .kind = ControlKind::Button, .left = 14, .top = 184, .width = 65, .height = 25,
      .caption = L"메모 작성", .tabOrder = 2},
     &TForm1::Button4},
    {{.name = "Button1", .kind = ControlKind::Button, .left = 84, .top = 184, .width = 67, .height = 25,
      .caption = L"들어 보기", .tabOrder = 3, .options = win::kDisabled},
     &TForm1::Button1},
    {{.name = "Button2", .kind = ControlKind::Button, .left = 156, .top = 184, .width = 151, .height = 25,
      .caption = L"작동 하기[&R]", .tabOrder = 4},
     &TForm1::Button2},
};

}  // namespace siborang
