#pragma once
// What a layout table row says of a control: its kind, place, caption, font, colour, tab
// order, tag and options, where the form keeps it and which of the form's handlers its events
// run. One builder (Form::BuildLayout) reads every table.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/Errors.h"
#include "win/Win32.h"

namespace siborang::win {

class Control;

// Colours: an RGB value, or one of the system's colours, or "as the parent".
using Color = std::uint32_t;
inline constexpr Color kParentColor = 0xFF000000u;
constexpr Color SystemColor(int index) { return 0x80000000u | static_cast<Color>(index); }
inline constexpr Color kWindowTextColor = SystemColor(COLOR_WINDOWTEXT);
inline constexpr Color kButtonFaceColor = SystemColor(COLOR_BTNFACE);
COLORREF ResolveColor(Color color);

// A font by face name and character height in pixels.
struct FontSpec {
    const wchar_t* face = nullptr;  // nullptr: the parent's font
    int height = 0;
    bool bold = false;
    bool underline = false;
    Color color = kParentColor;
};

// A control kind, named as the framework names its class. The factory registry
// (ControlFactory.h) makes a control of each kind; kinds from above the window layer (the
// calendar) register themselves there under a name of their own.
struct ControlKind {
    const wchar_t* name;

    // Windows of their own.
    static const ControlKind Button, CheckBox, Edit, GroupBox, HotKey, Panel,
        ComboBox;  // a drop-down list with an edit part, unsorted; OnClick when the user picks an entry
    // Graphic controls, drawn on their parent's surface.
    static const ControlKind Label, Image, Bevel, SpeedButton;
};
inline constexpr ControlKind ControlKind::Button{L"TButton"};
inline constexpr ControlKind ControlKind::CheckBox{L"TCheckBox"};
inline constexpr ControlKind ControlKind::Edit{L"TEdit"};
inline constexpr ControlKind ControlKind::GroupBox{L"TGroupBox"};
inline constexpr ControlKind ControlKind::HotKey{L"THotKey"};
inline constexpr ControlKind ControlKind::Panel{L"TPanel"};
inline constexpr ControlKind ControlKind::ComboBox{L"TComboBox"};
inline constexpr ControlKind ControlKind::Label{L"TLabel"};
inline constexpr ControlKind ControlKind::Image{L"TImage"};
inline constexpr ControlKind ControlKind::Bevel{L"TBevel"};
inline constexpr ControlKind ControlKind::SpeedButton{L"TSpeedButton"};

// Option bits of a table row.
enum ControlOption : unsigned {
    kChecked = 1u << 0,
    kDisabled = 1u << 1,
    kTransparent = 1u << 2,
    kCentered = 1u << 3,
    kAutoSize = 1u << 4,
    kWordWrap = 1u << 5,
    kStretch = 1u << 6,      // images: the picture fills the control
    kIconPicture = 1u << 7,  // images: the picture is an icon resource, else a bitmap
    kTopLine = 1u << 8,      // bevels: only the top edge, else a box
    // Edits: textLimit counts the bytes the text takes in code page 949, and characters that
    // code page cannot hold are refused, so what the box shows is what can be stored.
    kCp949Limit = 1u << 9,
    // Labels: rows broken by the program at spaces only, a word inside only when it alone is too
    // wide (some platforms break Korean words between any two syllables); else as kWordWrap.
    kWrapAtSpaces = 1u << 10,
    // Buttons: Escape anywhere in the form presses it, as a dialog's cancel button.
    kCancel = 1u << 11,
    // Buttons and flat buttons: F1 anywhere in the form presses it, as the key for help.
    kHelpKey = 1u << 12,
};

enum class MouseButton { Left, Right, Middle };

// The properties of one control, as a layout table row gives them.
struct ControlProps {
    const char* name = "";
    ControlKind kind = ControlKind::Label;
    const char* parent = nullptr;  // nullptr: the form
    int left = 0, top = 0, width = 0, height = 0;
    const wchar_t* caption = L"";
    FontSpec font{};
    Color color = kParentColor;        // background of panels and calendars; others show their parent's
    const wchar_t* picture = nullptr;  // images: the resource name
    int tabOrder = -1;  // -1: takes no focus through Tab
    int tag = 0;
    unsigned options = 0;
    int textLimit = 0;        // edits: characters (bytes with kCp949Limit), 0 for none
    int itemHeight = 0;       // combo boxes: the height of a list entry, 0 for the font's
    std::uint16_t hotKey = 0; // hotkey boxes: designed shortcut value
    WORD invalidCombinations = 0;  // hotkey boxes: HKCOMB_* refused
    WORD fallbackModifiers = 0;    // hotkey boxes: HOTKEYF_* put in their place
    int designValue = 0;           // kinds from above: a designed value whose meaning the kind gives
    // What a screen reader calls the control: the text of the label named here (as it reads
    // now), or else this name, for a control with no label of its own; neither keeps the
    // system's name (a button's caption).
    const char* labelledBy = nullptr;
    const wchar_t* accessibleName = nullptr;
};

// Where form F keeps a row's control: a member pointer of the control's own type, checked
// against the kind the row made.
template <class F>
using MemberStore = void (*)(F& form, Control& made);

template <auto Member>
struct MemberSlot;
template <class F, class T, T* F::*Member>
struct MemberSlot<Member> {
    static void Store(F& form, Control& made) {
        T* typed = dynamic_cast<T*>(&made);
        if (!typed) throw AppError("Control of another kind than its member");
        form.*Member = typed;
    }
};
// `win::Into<&TForm1::Button1>` in a row: the control goes into Button1.
template <auto Member>
inline constexpr auto Into = &MemberSlot<Member>::Store;

// A table row for form F: the properties, where the control is kept, and its events.
template <class F>
struct ControlDef {
    using Handler = void (F::*)(Control& sender);
    using MouseHandler = void (F::*)(Control& sender, MouseButton button, unsigned shift, int x, int y);
    ControlProps props;
    MemberStore<F> member = nullptr;
    Handler onClick = nullptr;
    Handler onChange = nullptr;
    Handler onExit = nullptr;
    MouseHandler onMouseDown = nullptr;
    MouseHandler onMouseMove = nullptr;
    MouseHandler onMouseUp = nullptr;
};

}  // namespace siborang::win
