#pragma once
// The form base: one window class per form class, one window procedure that derived forms
// override, controls built from a layout table, showing, modal showing and closing.
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "win/Application.h"
#include "win/Controls.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang::win {

enum class FormBorder { Dialog, Sizeable };
enum class CloseAction { None, Hide, Free };
inline constexpr int kModalCancel = 2;

struct FormSpec {
    const wchar_t* className;  // the Win32 window class, named after the form class
    const wchar_t* caption;
    int left, top;
    int clientWidth, clientHeight;
    FontSpec font;
    Color color = kButtonFaceColor;
    FormBorder border = FormBorder::Dialog;
    bool screenCenter = false;
};

class Form {
public:
    Form(Application& app, const FormSpec& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& App() const noexcept { return app_; }
    HWND Handle() const noexcept { return hwnd_; }

    // Every message of the window passes through here. Overrides call this for the
    // framework's normal handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    void Show();
    void Hide();
    bool Visible() const noexcept;
    // The framework's close: asks DoClose, then hides, frees, or ends the program when
    // this is the main form; a modal form ends its modal loop instead.
    void Close();
    // Shows the form with the rest of the application disabled until it closes.
    int ShowModal();
    bool Modal() const noexcept { return modal_; }

    RECT BoundsRect() const noexcept;  // outer rectangle in screen coordinates
    void SetLeft(int left);
    void SetTop(int top);
    void SetClientHeight(int height);

    Control* FindControl(std::string_view name) const noexcept;
    HFONT FontHandle() const noexcept { return font_; }
    COLORREF TextColor() const noexcept { return textColor_; }
    COLORREF BackColor() const noexcept { return backColor_; }
    HBRUSH BackBrush() const noexcept { return backBrush_.Get(); }
    // Fonts are made once per form and shared by the controls that ask for the same one.
    HFONT FontFor(const FontSpec& font, HFONT inherited);

    // Routes what a child window reports to its parent (commands, colours) to the child.
    bool HandleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Draws the graphic controls that lie on `container` (nullptr: the form itself).
    void PaintGraphicChildren(HDC dc, const Control* container) const;

    static Form* FromHandle(HWND hwnd) noexcept;
    // Child-window identifiers, unique within the form.
    int NextControlId() noexcept { return nextControlId_++; }

protected:
    // The close handler: may change the action.
    virtual void DoClose(CloseAction& action);

    // Creates the table's controls in order, stores them in their members, then binds the
    // events (so that designed values never run a handler).
    template <class F>
    void BuildLayout(F& self, std::span<const ControlDef<F>> table) {
        std::vector<Control*> made;
        made.reserve(table.size());
        for (const auto& row : table) {
            Control& c = AddControl(row.props);
            if (row.member) self.*(row.member) = &c;
            made.push_back(&c);
        }
        for (std::size_t i = 0; i < table.size(); ++i) {
            const auto& row = table[i];
            if (row.onClick) made[i]->OnClick = [&self, fn = row.onClick](Control& c) { (self.*fn)(c); };
            if (row.onChange) made[i]->OnChange = [&self, fn = row.onChange](Control& c) { (self.*fn)(c); };
            if (row.onExit) made[i]->OnExit = [&self, fn = row.onExit](Control& c) { (self.*fn)(c); };
        }
    }
    Control& AddControl(const ControlProps& props);

private:
    static LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
    void RegisterClassFor(const FormSpec& design);

    struct CachedFont {
        std::wstring face;
        int height;
        bool bold, underline;
        Font font;
    };

    Application& app_;
    HWND hwnd_ = nullptr;
    std::vector<CachedFont> fonts_;  // outlive the controls that use them
    std::vector<std::unique_ptr<Control>> controls_;
    HFONT font_ = nullptr;
    COLORREF textColor_ = 0;
    COLORREF backColor_ = 0;
    Brush backBrush_;
    int nextControlId_ = 100;
    bool modal_ = false;
    int modalResult_ = 0;
};

// The caption removal every borderless form of the program does at creation: clear the
// title bar bits of the style, then make the client height the outer height minus 46.
void RemoveCaption(Form& form);

}  // namespace siborang::win
