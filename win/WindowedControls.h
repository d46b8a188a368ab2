#pragma once
// The controls with a window of their own: system controls (buttons, check boxes, edits, the
// hotkey box, the combo box), subclassed so that they are bound like every window of the
// program, and the containers of our own (group box, panel).
#include <cstdint>
#include <string>
#include <string_view>

#include "win/Accessible.h"
#include "win/Control.h"
#include "win/GraphicHost.h"
#include "win/Window.h"

namespace siborang::win {

// A screen reader gets the system's answer for the window, with the name the layout gives it.
class WindowedControl : public Control, public WindowBase, public AccessibleSource {
public:
    HWND Handle() const noexcept override { return WindowBase::Handle(); }
    void Unbind() noexcept override { Detach(); }
    AccessibleSource* Accessible() noexcept override { return this; }
    std::optional<std::wstring> AccessibleName() const override { return LayoutAccessibleName(); }
    // The control of this program behind a window; nullptr for any other window.
    static WindowedControl* FromHandle(HWND hwnd) noexcept;
    // Moves the window to its new place and gives it its new font.
    void ApplyDpi() override;

protected:
    using Control::Control;
    // Creates and binds a window of a system class, with the row's place (scaled), state and
    // font.
    void CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle);
    // What the window has below its bounds: a drop-down combo box's list.
    virtual int ExtraHeight() const noexcept { return 0; }
    // The window styles every windowed control of a row has.
    static DWORD RowStyle(const ControlProps& props);
};

// What a child window reports to its parent (commands, colours) handled by the child's
// control; true when it was one of ours. Forms and containers call it first.
bool ReflectChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// A reader presses it as a click does.
class Button final : public WindowedControl {
public:
    Button(Form& form, Control* parent, const ControlProps& props);
    // Runs OnClick as a click does.
    void Click();
    // A click, while it is enabled.
    void Press() override;
    void HandleCommand(WORD code) override;
    std::optional<std::wstring> AccessibleDefaultAction() const override { return kPressAction; }
    bool DoAccessibleDefaultAction() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CheckBox final : public WindowedControl {
public:
    CheckBox(Form& form, Control* parent, const ControlProps& props);
    bool Checked() const noexcept;
    // Changing the state runs OnClick, as a click would.
    void SetChecked(bool checked);
    void HandleCommand(WORD code) override;
};

// A single-line edit. With kCp949Limit its limit counts CP949 bytes and characters that code
// page cannot hold are refused.
class Edit final : public WindowedControl {
public:
    Edit(Form& form, Control* parent, const ControlProps& props);
    // Text put in by the program stands as it is, unchecked (a memo line stored elsewhere may
    // be longer than a box lets the user type).
    void SetText(std::wstring_view text) override;
    void FocusByTab() override;
    void HandleCommand(WORD code) override;

private:
    // Puts back the last text that fitted when a typed change does not; false when it did.
    bool KeepWithinCp949Limit();

    int textLimit_;
    std::wstring acceptedText_;  // the last text that fitted
    bool restoring_ = false;    // the refused text is being put back
    bool settingText_ = false;  // the program puts text in: no limit applies
};

// The hotkey common control: records the key combination pressed in it.
class HotKeyBox final : public WindowedControl {
public:
    HotKeyBox(Form& form, Control* parent, const ControlProps& props);
    // Bits 0-12 key code, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    std::uint16_t HotKeyValue() const noexcept;
    void SetHotKeyValue(std::uint16_t value);
    // A hot key field whose value is the keys as the box names them ("Ctrl+Alt+W").
    std::optional<long> AccessibleRole() const override { return ROLE_SYSTEM_HOTKEYFIELD; }
    std::optional<std::wstring> AccessibleValue() const override;

protected:
    // A change of the keys is a change of the value.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A drop-down list with an edit part, unsorted; OnClick when the user picks an entry. Selecting
// from code does not run OnClick.
class ComboBox final : public WindowedControl {
public:
    ComboBox(Form& form, Control* parent, const ControlProps& props);
    int ItemCount() const noexcept;
    std::wstring Item(int index) const;
    void AddItem(std::wstring_view text);
    // Replacing keeps the selection where it was; one past the last entry adds an entry.
    void SetItem(int index, std::wstring_view text);
    // An index outside the list deletes nothing.
    void DeleteItem(int index);
    void ClearItems();
    int ItemIndex() const noexcept;  // -1: none
    void SetItemIndex(int index);
    void HandleCommand(WORD code) override;
    void ApplyDpi() override;

protected:
    int ExtraHeight() const noexcept override;

private:
    // The list entries' height as the row gives it (at 96 dpi), 0 for the font's.
    int itemHeight96_;
};

// A window of our own that holds controls: their notifications reach their handlers through
// it, and its graphic controls are drawn on it and get the mouse.
class Container : public WindowedControl {
public:
    GraphicHost* Host() noexcept override { return &graphics_; }
    void SetText(std::wstring_view text) override;
    // Its graphic controls are its object's items.
    std::vector<AccessibleItem> AccessibleItems() const override { return graphics_.AccessibleItems(Handle()); }
    bool DoItemDefaultAction(std::size_t index) override { return graphics_.PressItem(Handle(), index); }

protected:
    Container(Form& form, Control* parent, const ControlProps& props, const wchar_t* className);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The container's own look, under its graphic children.
    virtual void PaintFrame(HDC dc, RECT client) const = 0;

private:
    GraphicHost graphics_;
};

// An etched frame with a caption; a reader's grouping, named by the caption.
class GroupBox final : public Container {
public:
    GroupBox(Form& form, Control* parent, const ControlProps& props);
    // Where the caption begins, from the frame's left edge (at 96 dpi).
    static constexpr int kCaptionInset = 8;
    std::optional<long> AccessibleRole() const override { return ROLE_SYSTEM_GROUPING; }
    std::optional<std::wstring> AccessibleName() const override;

protected:
    void PaintFrame(HDC dc, RECT client) const override;
};

// A raised outer and a lowered inner bevel, in its own colour.
class Panel final : public Container {
public:
    Panel(Form& form, Control* parent, const ControlProps& props);

protected:
    void PaintFrame(HDC dc, RECT client) const override;
};

}  // namespace siborang::win
