#include "win/Form.h"

#include <algorithm>
#include <utility>

#include "core/Errors.h"
#include "core/Mnemonic.h"
#include "win/Application.h"
#include "win/Modal.h"
#include "win/Text.h"
#include "win/WindowedControl.h"

namespace siborang::win {
namespace {

// WM_GETDPISCALEDSIZE, which Windows 10 1703 sends before WM_DPICHANGED; the headers for
// Windows 7 do not name it.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

Form::Form(Application& app, const FormSpec& design)
    : app_(app),
      clientWidth96_(design.clientWidth),
      clientHeight96_(design.clientHeight),
      outerWidth96_(design.outerWidth),
      outerHeight96_(design.outerHeight),
      fontSpec_(design.font),
      dpi_(Dpi::System()),
      caption_(design.caption),
      titleLabel_(design.titleLabel),
      screenCenter_(design.screenCenter) {
    RegisterWindowClass(app.ModuleInstance(), {.name = design.className, .icon = app.IconHandle()});
    backColor_ = ResolveColor(design.color);
    backBrush_.Reset(::CreateSolidBrush(backColor_));
    textColor_ = ResolveColor(design.font.color == kParentColor ? kWindowTextColor : design.font.color);

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (design.border == FormBorder::Dialog) {
        exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    } else {
        style |= WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    }
    // Made for the system's DPI; a window that Windows puts on a monitor of another scale
    // takes that one's before any control is made.
    const SIZE size = OuterSize(dpi_, style, exStyle);
    CreateHandle(app.ModuleInstance(), exStyle, design.className, design.caption, style, dpi_.Scale(design.left),
                 dpi_.Scale(design.top), size.cx, size.cy, app.Handle(), nullptr);
    if (const Dpi actual = Dpi::OfWindow(Handle()); actual != dpi_) {
        dpi_ = actual;
        TakeDesignedSize(nullptr, 0);
    }
    font_ = FontFor(fontSpec_, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

SIZE Form::OuterSize(Dpi dpi, DWORD style, DWORD exStyle) const noexcept {
    const RECT outer = OuterRect({0, 0, dpi.Scale(clientWidth96_), dpi.Scale(clientHeight96_)}, style, exStyle, dpi);
    return {outerWidth96_ > 0 ? dpi.Scale(outerWidth96_) : outer.right - outer.left,
            outerHeight96_ > 0 ? dpi.Scale(outerHeight96_) : outer.bottom - outer.top};
}

SIZE Form::DesignedSize(Dpi dpi) const noexcept {
    return OuterSize(dpi, static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)),
                     static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE)));
}

void Form::Redesign(SIZE client96) {
    clientWidth96_ = client96.cx;
    clientHeight96_ = client96.cy;
    outerWidth96_ = outerHeight96_ = 0;
    TakeDesignedSize(nullptr, SWP_FRAMECHANGED);
}

void Form::TakeDesignedSize(const POINT* at, UINT flags) {
    const SIZE size = DesignedSize(dpi_);
    flags |= SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE);
    ::SetWindowPos(Handle(), nullptr, at ? at->x : 0, at ? at->y : 0, size.cx, size.cy, flags);
    if (outerWidth96_ > 0 || outerHeight96_ > 0) return;
    // The frame the system draws can differ from the DPI-aware adjustment's (one drawn at the
    // monitor's DPI while the layout is still at another): the client is the design's all the
    // same.
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int dx = dpi_.Scale(clientWidth96_) - client.right;
    const int dy = dpi_.Scale(clientHeight96_) - client.bottom;
    if (dx != 0 || dy != 0)
        ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx + dx, size.cy + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ChangeDpi(Dpi dpi, POINT at) {
    dpi_ = dpi;
    font_ = FontFor(fontSpec_, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    TakeDesignedSize(&at, 0);
    // In creation order, so that each control finds its parent (and the font it inherits)
    // laid out already.
    for (auto& c : controls_) c->ApplyDpi();
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

Form::~Form() {
    // The derived form is gone already: nothing its windows receive while they go may reach
    // a handler, so every control lets go of its window before the form's is destroyed.
    keyboard_.Forget();
    for (auto& c : controls_) c->Unbind();
    DestroyHandle();
}

std::optional<std::wstring> Form::AccessibleName() const {
    if (const Control* title = titleLabel_ ? FindControl(titleLabel_) : nullptr) return WithoutMnemonic(title->Text());
    // Said here: the system's window object need not read the caption.
    return caption_;
}

std::vector<AccessibleItem> Form::AccessibleItems() const {
    std::vector<AccessibleItem> items = graphics_.AccessibleItems(Handle());
    if (!alert_.empty()) items.push_back({.name = alert_, .role = ROLE_SYSTEM_ALERT});
    return items;
}

void Form::Alert(std::wstring text) {
    alert_ = std::move(text);
    NotifyAccessible(EVENT_SYSTEM_ALERT, Handle(), static_cast<LONG>(AccessibleItems().size()));
}

Form* Form::FromHandle(HWND hwnd) noexcept { return dynamic_cast<Form*>(WindowBase::FromHandle(hwnd)); }

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleForControls(*this, graphics_, Handle(), message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // Remembered here, before the control is told it lost the focus.
            keyboard_.SaveFocus();
        } else if (!HIWORD(wParam) && (keyboard_.FocusOnForm() || !keyboard_.RestoreFocus())) {
            ::SetFocus(Handle());
        }
        return 0;
    case WM_SETFOCUS:
        // The form itself takes no typing: its active control does, unless the form was
        // asked to keep the focus.
        if (!keyboard_.FocusOnForm()) keyboard_.RestoreFocus();
        return 0;
    case WM_KILLFOCUS:
        keyboard_.FormLostFocus(reinterpret_cast<HWND>(wParam));
        return DefaultProc(message, wParam, lParam);
    case WM_CLOSE:
        Close();
        return 0;
    case kGetDpiScaledSize: {
        // Asked first (Windows 10 1703 and later), so that the rectangle Windows suggests
        // with WM_DPICHANGED has the design's size at the new DPI.
        *reinterpret_cast<SIZE*>(lParam) = DesignedSize(Dpi(static_cast<int>(wParam)));
        return TRUE;
    }
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ChangeDpi(Dpi(HIWORD(wParam)), {suggested.left, suggested.top});
        return 0;
    }
    case DialogKeyboard::kHandFocusOnMessage:
        keyboard_.HandFocusOn();
        return 0;
    case WM_ERASEBKGND: {
        RECT rc;
        ::GetClientRect(Handle(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, backBrush_.Get());
        return 1;
    }
    case WM_PAINT: {
        PaintDc dc(Handle());
        graphics_.Paint(dc.Get());
        return 0;
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

Control* Form::ParentOf(const ControlRow& row) const {
    if (!row.parent) return nullptr;
    Control* parent = FindControl(row.parent);
    if (!parent) throw AppError(std::string("Control has no parent: ") + row.name);
    return parent;
}

Control& Form::Add(std::unique_ptr<Control> made) {
    // Stacked as designed, a later control over an earlier one it overlaps (a new child window
    // would go underneath its siblings); Tab follows the tab order instead.
    if (made->Handle() && OverlapsWindowedControl(made->Parent(), made->Bounds()))
        ::SetWindowPos(made->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    controls_.push_back(std::move(made));
    return *controls_.back();
}

Control* Form::ControlOf(HWND window) const noexcept {
    // Up from the window to the form: the focus may sit in a control's own child.
    for (HWND h = window; h && h != Handle(); h = ::GetParent(h)) {
        for (const auto& c : controls_) {
            if (c->Handle() == h) return c.get();
        }
    }
    return nullptr;
}

bool Form::OverlapsWindowedControl(const Control* parent, const RECT& rect) const noexcept {
    RECT overlap;
    for (const auto& c : controls_) {
        if (c->Parent() != parent || !c->Handle()) continue;
        const RECT other = c->Bounds();
        if (::IntersectRect(&overlap, &other, &rect)) return true;
    }
    return false;
}

Control* Form::FindControl(std::string_view name) const noexcept {
    for (const auto& c : controls_) {
        if (c->Name() == name) return c.get();
    }
    return nullptr;
}

HINSTANCE Form::SiteModule() const noexcept { return app_.ModuleInstance(); }

GdiCache& Form::Pictures() noexcept { return app_.Gdi(); }

HFONT Form::FontFor(const FontSpec& font, HFONT inherited) {
    return font.face ? app_.Gdi().SharedFont(font, dpi_) : inherited;
}

void Form::CenterOnScreen() {
    const RECT rc = BoundsRect();
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    // Centred by the size it has now: a creation handler may have changed it since.
    if (screenCenter_ && !Visible()) CenterOnScreen();
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
}

void Form::ShowNoActivate() { ::ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

void Form::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

bool Form::Visible() const noexcept { return ::IsWindowVisible(Handle()) != FALSE; }

void Form::DoClose(CloseAction&) {}

int Form::ShowModal() {
    ModalLoop loop(app_, *this);
    modal_ = &loop;
    // Cleared however the loop ends: a close handler that raised leaves the form shown and
    // closable, and no pointer to the ended loop behind.
    struct Unset {
        ModalLoop*& modal;
        ~Unset() { modal = nullptr; }
    } unset{modal_};
    return loop.Run();
}

void Form::Close() {
    if (modal_) {
        modal_->End(kModalCancel);
        return;
    }
    CloseAction action = CloseAction::Hide;
    DoClose(action);
    if (action == CloseAction::None) return;
    if (app_.MainForm() == this) {
        app_.Terminate();
    } else if (action == CloseAction::Hide) {
        Hide();
    } else {
        app_.Release(*this);
    }
}

void Form::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    ::SetWindowTextW(Handle(), caption_.c_str());
}

RECT Form::BoundsRect() const noexcept {
    RECT rc{};
    ::GetWindowRect(Handle(), &rc);
    return rc;
}

void Form::SetLeft(int left) {
    const RECT rc = BoundsRect();
    ::SetWindowPos(Handle(), nullptr, left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(int top) {
    const RECT rc = BoundsRect();
    ::SetWindowPos(Handle(), nullptr, rc.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::MoveTo(int left, int top) {
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

SIZE FrameSize(DWORD style, DWORD exStyle, Dpi dpi) noexcept {
    const RECT frame = OuterRect({0, 0, 0, 0}, style, exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

void RemoveCaption(Form& form) {
    HWND hwnd = form.Handle();
    const auto style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE));
    const DWORD bare = style & 0xFF3FFFFFu;
    const Dpi at96(kDesignDpi);
    const SIZE outer = form.DesignedSize(at96);
    const SIZE framed = FrameSize(style, exStyle, at96);
    const SIZE frame = FrameSize(bare, exStyle, at96);
    ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(bare));
    // As at 96 dpi the window would: the outer height keeps the frame it was made with and
    // takes the new client height, then loses the title bar, and the width stays.
    const int outerHeight = framed.cy + outer.cy - 46;
    form.Redesign({outer.cx - frame.cx, outerHeight - frame.cy});
}

}  // namespace siborang::win
