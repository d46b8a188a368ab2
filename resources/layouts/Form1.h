#pragma once
// The main window's controls in creation (and stacking) order.
#include "clock/Unit1.h"
#include "resources/ResourceNames.h"

namespace siborang {

inline constexpr win::FontSpec kGulim12{L"굴림", 12, false, false, RGB(0, 0, 0)};

inline const win::FormSpec kForm1Spec{
    .className = L"TForm1",
    .caption = L"Form1",
    .left = 316, .top = 222,
    .clientWidth = 320, .clientHeight = 239,
    .font = kGulim12,
    .titleLabel = "Label1",
};

using Form1Row = win::ControlDef<TForm1>;
using win::ControlKind;

inline constexpr win::FontSpec kCourierX{L"Courier New", 13, true, false, RGB(0, 0, 0)};
inline constexpr win::FontSpec kCourierQuestion{L"Courier New", 15, true, false, RGB(0, 0, 0)};

inline const Form1Row kForm1Layout[] = {
    {{.name = "Image2", .kind = ControlKind::Image, .left = 0, .top = 0, .width = 44, .height = 39,
      .picture = kMainIcon, .options = win::kIconPicture | win::kCentered},
     win::Into<&TForm1::Image2>},
    {{.name = "Bevel1", .kind = ControlKind::Bevel, .left = 8, .top = 168, .width = 305, .height = 9,
      .options = win::kTopLine},
     win::Into<&TForm1::Bevel1>},
    {{.name = "Panel1", .kind = ControlKind::Panel, .left = 45, .top = 0, .width = 276, .height = 22,
      .font = {L"MS Serif", 13, false, false, RGB(255, 255, 255)}, .color = RGB(0, 0, 0), .tabOrder = 0,
      .labelledBy = "Label1"},
     win::Into<&TForm1::Panel1>, nullptr, nullptr, nullptr, &TForm1::Panel1MouseDown, &TForm1::Panel1MouseMove,
     &TForm1::Panel1MouseUp},
    {{.name = "SpeedButton1", .kind = ControlKind::SpeedButton, .parent = "Panel1", .left = 256, .top = 4,
      .width = 16, .height = 14, .caption = L"X", .font = kCourierX},
     win::Into<&TForm1::SpeedButton1>, &TForm1::SpeedButton1Click},
    {{.name = "SpeedButton2", .kind = ControlKind::SpeedButton, .parent = "Panel1", .left = 239, .top = 4,
      .width = 16, .height = 14, .caption = L"?", .font = kCourierQuestion, .options = win::kHelpKey},
     win::Into<&TForm1::SpeedButton2>, &TForm1::SpeedButton2Click},
    {{.name = "Image1", .kind = ControlKind::Image, .parent = "Panel1", .left = 2, .top = 2, .width = 160,
      .height = 18, .picture = kTitleBitmap},
     win::Into<&TForm1::Image1>, nullptr, nullptr, nullptr, &TForm1::Panel1MouseDown, &TForm1::Panel1MouseMove,
     &TForm1::Panel1MouseUp},
    {{.name = "Label1", .kind = ControlKind::Label, .parent = "Panel1", .left = 5, .top = 4, .width = 70,
      .height = 13, .caption = L"시보랑", .font = {L"돋움", 13, false, false, RGB(255, 255, 255)},
      .options = win::kTransparent | win::kAutoSize},
     win::Into<&TForm1::Label1>, nullptr, nullptr, nullptr, &TForm1::Panel1MouseDown, &TForm1::Panel1MouseMove,
     &TForm1::Panel1MouseUp},
    {{.name = "GroupBox1", .kind = ControlKind::GroupBox, .left = 8, .top = 48, .width = 305, .height = 105,
      .caption = L" 작동 환경 설정 ", .tabOrder = 1},
     win::Into<&TForm1::GroupBox1>},
    {{.name = "Label2", .kind = ControlKind::Label, .parent = "GroupBox1", .left = 245, .top = 50, .width = 40,
      .height = 12, .caption = L"분 마다", .options = win::kAutoSize},
     win::Into<&TForm1::Label2>},
    {{.name = "Label3", .kind = ControlKind::Label, .parent = "GroupBox1", .left = 16, .top = 27, .width = 52,
      .height = 12, .caption = L"핫키 등록", .options = win::kAutoSize},
     win::Into<&TForm1::Label3>},
    {{.name = "HotKey1", .kind = ControlKind::HotKey, .parent = "GroupBox1", .left = 80, .top = 24, .width = 201,
      .height = 19, .tabOrder = 0, .hotKey = 49239,
      .invalidCombinations = HKCOMB_NONE | HKCOMB_S, .fallbackModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT,
      .labelledBy = "Label3"},
     win::Into<&TForm1::HotKey1>},
    {{.name = "CheckBox1", .kind = ControlKind::CheckBox, .parent = "GroupBox1", .left = 16, .top = 48,
      .width = 177, .height = 17, .caption = L"일정한 시간마다 시간 말하기", .tabOrder = 1,
      .options = win::kChecked},
     win::Into<&TForm1::CheckBox1>, &TForm1::CheckBox1Click},
    {{.name = "CheckBox2", .kind = ControlKind::CheckBox, .parent = "GroupBox1", .left = 16, .top = 72,
      .width = 209, .height = 17, .caption = L"정해진 시간에 특정 메모 보여주기", .tabOrder = 2,
      .options = win::kChecked},
     win::Into<&TForm1::CheckBox2>},
    {{.name = "Edit1", .kind = ControlKind::Edit, .parent = "GroupBox1", .left = 200, .top = 48, .width = 41,
      .height = 20, .caption = L"30", .tabOrder = 3, .labelledBy = "Label2"},
     win::Into<&TForm1::Edit1>, nullptr, nullptr, &TForm1::Edit1Exit},
    {{.name = "Button4", .kind = ControlKind::Button, .left = 14, .top = 184, .width = 65, .height = 25,
      .caption = L"메모 작성", .tabOrder = 2},
     win::Into<&TForm1::Button4>, &TForm1::Button4Click},
    {{.name = "Button1", .kind = ControlKind::Button, .left = 84, .top = 184, .width = 67, .height = 25,
      .caption = L"들어 보기", .tabOrder = 3, .options = win::kDisabled},
     win::Into<&TForm1::Button1>, &TForm1::Button1Click},
    {{.name = "Button2", .kind = ControlKind::Button, .left = 156, .top = 184, .width = 151, .height = 25,
      .caption = L"작동 하기[&R]", .tabOrder = 4},
     win::Into<&TForm1::Button2>, &TForm1::Button2Click},
};

}  // namespace siborang
