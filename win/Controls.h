#pragma once
// Controls and the layout tables they are built from.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "win/Handles.h"
#include "win/Win32.h"
#include "win/Window.h"

namespace siborang::win {

class Form;

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

enum class ControlKind {
    // Windows of their own.
    Button, CheckBox, Edit, GroupBox, HotKey, Panel,
    ComboBox,  // a drop-down list with an edit part, unsorted; OnClick when the user picks an entry
    Custom,    // a kind registered from outside the window layer (RegisterControlKind)
    // Graphic controls, drawn on their parent's surface.
    Label, Image, Bevel, SpeedButton,
};

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
};

enum class MouseButton { Left, Right, Middle };

class Control;
using NotifyEvent = std::function<void(Control& sender)>;
// Sender, button, shift state (MK_* bits), position in the sender's coordinates.
using MouseEvent = std::function<void(Control& sender, MouseButton button, unsigned shift, int x, int y)>;

// The properties of one control, as a layout table row gives them.
struct ControlProps {
    const char* name = "";
    ControlKind kind = ControlKind::Label;
    const char* parent = nullptr;  // nullptr: the form
    int left = 0, top = 0, width = 0, height = 0;
    const wchar_t* caption = L"";
    FontSpec font{};
    Color color = kParentColor;        // background of panels and custom kinds; others show their parent's
    const wchar_t* picture = nullptr;  // images: the resource name
    int tabOrder = -1;  // -1: takes no focus through Tab
    int tag = 0;
    unsigned options = 0;
    int textLimit = 0;        // edits: characters (bytes with kCp949Limit), 0 for none
    int itemHeight = 0;       // combo boxes: the height of a list entry, 0 for the font's
    std::uint16_t hotKey = 0; // hotkey boxes: designed shortcut value
    WORD invalidCombinations = 0;  // hotkey boxes: HKCOMB_* refused
    WORD fallbackModifiers = 0;    // hotkey boxes: HOTKEYF_* put in their place
    const wchar_t* customKind = nullptr;  // custom kinds: the name the kind was registered under
    int designValue = 0;                  // custom kinds: a designed value whose meaning the kind gives
};

// A table row for form F: the properties, where the control is kept, and its events.
template <class F>
struct ControlDef {
    using Handler = void (F::*)(Control& sender);
    using MouseHandler = void (F::*)(Control& sender, MouseButton button, unsigned shift, int x, int y);
    ControlProps props;
    Control* F::*member = nullptr;
    Handler onClick = nullptr;
    Handler onChange = nullptr;
    Handler onExit = nullptr;
    MouseHandler onMouseDown = nullptr;
    MouseHandler onMouseMove = nullptr;
    MouseHandler onMouseUp = nullptr;
};

// A windowed control whose kind lives above the window layer; it owns its window and fires
// its host's events (OnClick, OnChange) with the host as their sender.
class CustomControl {
public:
    virtual ~CustomControl() = default;
    virtual HWND Handle() const noexcept = 0;
};

// What a custom control is made from: its row, the window it goes into and what the form
// resolved of the row (font, colours, state).
struct CustomPlacement {
    const ControlProps& props;
    HWND parent;
    int id;
    HFONT font;
    COLORREF fontColor;
    bool tabStop;
    bool enabled;
};
using CustomControlFactory = std::unique_ptr<CustomControl> (*)(Control& host, const CustomPlacement& placement);
// Makes a kind placeable by layout rows that name it; done once at start-up, before any form.
void RegisterControlKind(const wchar_t* name, CustomControlFactory factory);

// A refused keystroke beeps through here, so that a test can count the beeps.
extern void (*RefusalBeep)() noexcept;

class Control : public WindowBase {
public:
    Control(Form& form, Control* parent, const ControlProps& props);
    ~Control() override;

    Form& Owner() const noexcept { return form_; }
    Control* Parent() const noexcept { return parent_; }
    const std::string& Name() const noexcept { return name_; }
    ControlKind Kind() const noexcept { return kind_; }
    int Tag() const noexcept { return tag_; }
    int TabOrder() const noexcept { return tabOrder_; }
    // The control's own window; graphic controls (labels) have none.
    HWND Handle() const noexcept { return custom_ ? custom_->Handle() : WindowBase::Handle(); }
    // Lets go of the window without destroying it, as the form does before it goes.
    void Unbind() noexcept;
    // The window this control is drawn on or lives in.
    HWND ParentHandle() const noexcept;
    RECT Bounds() const noexcept;

    std::wstring Text() const;
    void SetText(std::wstring_view text);
    bool Enabled() const noexcept;
    void SetEnabled(bool enabled);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    // Check boxes: changing the state runs OnClick, as a click would.
    bool Checked() const noexcept;
    void SetChecked(bool checked);
    // Hotkey boxes: bits 0-12 key code, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    std::uint16_t HotKeyValue() const noexcept;
    void SetHotKeyValue(std::uint16_t value);
    void SetFocus();
    // Buttons: runs OnClick as a click does.
    void Click();
    // Custom kinds: the object behind the control; nullptr for other kinds.
    CustomControl* Custom() const noexcept { return custom_.get(); }
    // Combo boxes: the entries and the selected one (-1: none). Selecting from code does not
    // run OnClick.
    int ItemCount() const noexcept;
    std::wstring Item(int index) const;
    void AddItem(std::wstring_view text);
    void SetItem(int index, std::wstring_view text);
    void DeleteItem(int index);
    void ClearItems();
    int ItemIndex() const noexcept;
    void SetItemIndex(int index);

    HFONT FontHandle() const noexcept { return font_; }
    COLORREF TextColor() const noexcept { return textColor_; }
    // The background the control stands on: its own (panels) or its parent's.
    COLORREF BackColor() const noexcept;
    HBRUSH BackBrush() const noexcept;

    bool IsGraphic() const noexcept { return kind_ >= ControlKind::Label; }
    bool IsContainer() const noexcept { return kind_ == ControlKind::GroupBox || kind_ == ControlKind::Panel; }

    NotifyEvent OnClick;
    NotifyEvent OnChange;
    NotifyEvent OnExit;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseMove;
    MouseEvent OnMouseUp;

    // A WM_COMMAND notification from the control's window.
    void HandleCommand(WORD code);
    // Mouse input routed to the control, at a point in its own coordinates.
    void MouseDown(MouseButton button, unsigned shift, POINT at);
    void MouseMove(unsigned shift, POINT at);
    void MouseUp(MouseButton button, unsigned shift, POINT at);
    void MouseLeave();
    // Graphic controls draw themselves on their parent's surface.
    void PaintGraphic(HDC dc) const;
    // Containers paint their frame and their graphic children.
    void PaintContainer(HDC dc) const;

    static Control* FromHandle(HWND hwnd) noexcept;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateWindowFor(const ControlProps& props);
    void CreateCustom(const ControlProps& props);
    // kCp949Limit edits: puts back the last text that fitted when a typed change does not;
    // false when it did.
    bool KeepWithinCp949Limit();
    void LoadPicture(const wchar_t* name);
    void FitToText();
    void FitNow() const noexcept;
    void Invalidate() const;

    Form& form_;
    Control* parent_;
    std::string name_;
    ControlKind kind_;
    int tag_;
    unsigned options_;
    mutable RECT bounds_;
    mutable bool fitPending_ = false;  // a self-sizing label not measured since its text changed
    std::wstring caption_;  // graphic controls keep their text here
    HFONT font_ = nullptr;  // owned by the form's font cache
    COLORREF textColor_ = 0;
    COLORREF backColor_ = 0;  // containers with a colour of their own
    Brush backBrush_;
    HBITMAP bitmap_ = nullptr;  // images: shared pictures, not owned
    HICON icon_ = nullptr;
    std::unique_ptr<CustomControl> custom_;
    int tabOrder_ = -1;
    int textLimit_ = 0;
    std::wstring acceptedText_;  // kCp949Limit edits: the last text that fitted
    bool restoring_ = false;    // the refused text is being put back
    bool settingText_ = false;  // the program puts text in: no limit applies
    bool visible_ = true;
    bool enabled_ = true;
    bool pressed_ = false;  // speed buttons: held down
    bool hot_ = false;      // speed buttons: under the mouse
};

}  // namespace siborang::win
