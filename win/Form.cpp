#include "win/Form.h"

#include <algorithm>
#include <utility>

#include "core/Errors.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

// A windowed control that is shown and enabled. Its own style is asked: while a form is being
// shown (and activated) the form itself may not count as visible yet.
bool CanTakeFocus(const Control* c) noexcept {
    return c && c->Handle() && (::GetWindowLongW(c->Handle(), GWL_STYLE) & WS_VISIBLE) && ::IsWindowEnabled(c->Handle());
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) noexcept {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        try {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        } catch (...) {
            return FALSE;  // out of memory: nothing may unwind into the enumeration
        }
    }
    return TRUE;
}

}  // namespace

Form::Form(Application& app, const FormSpec& design) : app_(app), screenCenter_(design.screenCenter) {
    RegisterWindowClass(app.ModuleInstance(), {.name = design.className, .icon = app.IconHandle()});
    backColor_ = ResolveColor(design.color);
    backBrush_.Reset(::CreateSolidBrush(backColor_));
    font_ = FontFor(design.font, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    textColor_ = ResolveColor(design.font.color == kParentColor ? kWindowTextColor : design.font.color);

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (design.border == FormBorder::Dialog) {
        exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    } else {
        style |= WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    }
    RECT outer{0, 0, design.clientWidth, design.clientHeight};
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = design.outerWidth > 0 ? design.outerWidth : outer.right - outer.left;
    const int height = design.outerHeight > 0 ? design.outerHeight : outer.bottom - outer.top;
    CreateHandle(exStyle, design.className, design.caption, style, design.left, design.top, width, height,
                 app.Handle(), nullptr);
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

Form::~Form() {
    // The derived form is gone already: nothing its windows receive while they go may reach
    // a handler, so every control lets go of its window before the form's is destroyed.
    savedFocus_ = nullptr;
    for (auto& c : controls_) c->Unbind();
    DestroyHandle();
}

Form* Form::FromHandle(HWND hwnd) noexcept { return dynamic_cast<Form*>(WindowBase::FromHandle(hwnd)); }

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleChildMessage(message, wParam, lParam, result)) return result;
    if (RouteMouse(Handle(), nullptr, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // Remembered here, before the control is told it lost the focus.
            if (Control* c = ControlOf(::GetFocus())) savedFocus_ = c;
        } else if (!HIWORD(wParam) && (focusOnForm_ || !RestoreFocus())) {
            ::SetFocus(Handle());
        }
        return 0;
    case WM_SETFOCUS:
        // The form itself takes no typing: its active control does, unless the form was
        // asked to keep the focus.
        if (!focusOnForm_) RestoreFocus();
        return 0;
    case WM_KILLFOCUS:
        // A control of the form took the focus; another program taking it leaves the form
        // to hold it again on its return.
        if (ControlOf(reinterpret_cast<HWND>(wParam))) focusOnForm_ = false;
        return DefaultProc(message, wParam, lParam);
    case WM_CLOSE:
        Close();
        return 0;
    case WM_TIMER:
        for (Timer* timer : timers_) {
            if (timer->HandleTimer(wParam)) return 0;
        }
        return DefaultProc(message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT rc;
        ::GetClientRect(Handle(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, backBrush_.Get());
        return 1;
    }
    case WM_PAINT: {
        PaintDc dc(Handle());
        PaintGraphicChildren(dc.Get(), nullptr);
        return 0;
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

bool Form::HandleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (Control* c = lParam ? Control::FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
            c->HandleCommand(HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (Control* c = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, c->TextColor());
            ::SetBkColor(dc, c->BackColor());
            result = reinterpret_cast<LRESULT>(c->BackBrush());
            return true;
        }
        return false;
    case WM_CTLCOLOREDIT:
        if (Control* c = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, c->TextColor());
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
            return true;
        }
        return false;
    default:
        return false;
    }
}

void Form::PaintGraphicChildren(HDC dc, const Control* container) const {
    for (const auto& c : controls_) {
        if (c->Parent() == container && !c->Handle() && c->Visible()) c->PaintGraphic(dc);
    }
}

Control* Form::GraphicChildAt(const Control* container, POINT at) const noexcept {
    // The last made lies on top.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const Control& c = **it;
        if (c.Parent() == container && c.IsGraphic() && c.Visible()) {
            const RECT rc = c.Bounds();
            if (::PtInRect(&rc, at)) return it->get();
        }
    }
    return nullptr;
}

bool Form::RouteMouse(HWND window, Control* container, UINT message, WPARAM wParam, LPARAM lParam) {
    MouseButton button = MouseButton::Left;
    enum { Down, Up, Move } what;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: what = Down; break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: what = Down, button = MouseButton::Right; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: what = Down, button = MouseButton::Middle; break;
    case WM_LBUTTONUP: what = Up; break;
    case WM_RBUTTONUP: what = Up, button = MouseButton::Right; break;
    case WM_MBUTTONUP: what = Up, button = MouseButton::Middle; break;
    case WM_MOUSEMOVE: what = Move; break;
    case WM_MOUSELEAVE:
        for (const auto& c : controls_) {
            if (c->Parent() == container) c->MouseLeave();
        }
        return false;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: the press ends without a click.
        if (Control* held = std::exchange(mouseCapture_, nullptr)) held->MouseUp(button, 0, POINT{-1, -1});
        return false;
    default:
        return false;
    }
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const unsigned shift = LOWORD(wParam);
    Control* target = mouseCapture_ ? mouseCapture_ : GraphicChildAt(container, at);
    if (what == Move) {
        for (const auto& c : controls_) {
            if (c->Parent() == container && c.get() != target) c->MouseLeave();
        }
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
    }
    if (!target) target = container;
    if (!target) return false;
    POINT local = at;
    if (target->IsGraphic()) {
        local.x -= target->Bounds().left;
        local.y -= target->Bounds().top;
    }
    switch (what) {
    case Down:
        if (!mouseCapture_) {
            mouseCapture_ = target;
            ::SetCapture(window);
        }
        target->MouseDown(button, shift, local);
        break;
    case Up:
        if (mouseCapture_) {
            mouseCapture_ = nullptr;
            ::ReleaseCapture();
        }
        target->MouseUp(button, shift, local);
        break;
    case Move:
        target->MouseMove(shift, local);
        break;
    }
    return true;
}

Control& Form::AddControl(const ControlProps& props) {
    Control* parent = props.parent ? FindControl(props.parent) : nullptr;
    if (props.parent && !parent) throw AppError(std::string("Control has no parent: ") + props.name);
    controls_.push_back(std::make_unique<Control>(*this, parent, props));
    return *controls_.back();
}

void Form::CollectTabStops(const Control* container, std::vector<Control*>& stops) const {
    std::vector<Control*> children;
    for (const auto& c : controls_)
        if (c->Parent() == container && c->Handle()) children.push_back(c.get());
    std::stable_sort(children.begin(), children.end(),
                     [](const Control* a, const Control* b) { return a->TabOrder() < b->TabOrder(); });
    for (Control* c : children) {
        if (!CanTakeFocus(c)) continue;
        if (c->IsContainer()) {
            CollectTabStops(c, stops);
        } else if (c->TabOrder() >= 0) {
            stops.push_back(c);
        }
    }
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

Control* Form::FirstTabStop() const {
    std::vector<Control*> stops;
    CollectTabStops(nullptr, stops);
    return stops.empty() ? nullptr : stops.front();
}

Control* Form::ActiveControl() const noexcept {
    const HWND focus = ::GetFocus();
    if (focus && (focus == Handle() || ::IsChild(Handle(), focus))) return ControlOf(focus);
    return savedFocus_;
}

bool Form::RestoreFocus() {
    Control* target = CanTakeFocus(savedFocus_) ? savedFocus_ : FirstTabStop();
    if (!target) return false;
    target->SetFocus();
    return true;
}

void Form::KeepFocusOnForm() {
    focusOnForm_ = true;
    ::SetFocus(Handle());
}

bool Form::PreTranslateKey(const MSG& msg) {
    switch (msg.message) {
    case WM_SYSCHAR:
        return (HIWORD(msg.lParam) & KF_ALTDOWN) && HandleMnemonic(static_cast<wchar_t>(msg.wParam));
    case WM_KEYDOWN:
        break;
    default:
        return false;
    }
    const auto key = static_cast<UINT>(msg.wParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
    // A control that asks for the key keeps it: a dropped-down list closes on Enter or Escape.
    const auto wants = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (key == VK_TAB) return !(wants & DLGC_WANTTAB) && TabFrom(msg.hwnd, ::GetKeyState(VK_SHIFT) < 0);
    // Enter presses the focused push button, as Space does. No form has a default or cancel
    // button, so Enter anywhere else and Escape are used up doing nothing.
    if (key == VK_RETURN) {
        Control* focused = ControlOf(msg.hwnd);
        if (focused && focused->Kind() == ControlKind::Button && focused->Enabled()) focused->Click();
    }
    return true;
}

bool Form::TabFrom(HWND focus, bool backward) {
    std::vector<Control*> stops;
    CollectTabStops(nullptr, stops);
    if (stops.empty()) return false;
    Control* current = ControlOf(focus);
    const auto at = std::find(stops.begin(), stops.end(), current);
    std::size_t next = 0;
    if (at != stops.end()) {
        const auto i = static_cast<std::size_t>(at - stops.begin());
        next = backward ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size();
    } else if (backward) {
        next = stops.size() - 1;
    }
    Control* target = stops[next];
    target->SetFocus();
    // As the dialog manager does: a box entered by Tab has its whole text selected.
    if (target->Kind() == ControlKind::Edit) ::SendMessageW(target->Handle(), EM_SETSEL, 0, -1);
    return true;
}

bool Form::HandleMnemonic(wchar_t letter) {
    wchar_t wanted = letter;
    ::CharUpperBuffW(&wanted, 1);
    for (const auto& c : controls_) {
        if (c->Kind() != ControlKind::Button || !c->Enabled() || !::IsWindowVisible(c->Handle())) continue;
        const std::wstring caption = c->Text();
        const auto amp = caption.find(L'&');
        if (amp == std::wstring::npos || amp + 1 >= caption.size()) continue;
        wchar_t marked = caption[amp + 1];
        ::CharUpperBuffW(&marked, 1);
        if (marked == wanted) {
            c->Click();
            return true;
        }
    }
    return false;
}

Control* Form::FindControl(std::string_view name) const noexcept {
    for (const auto& c : controls_) {
        if (c->Name() == name) return c.get();
    }
    return nullptr;
}

HFONT Form::FontFor(const FontSpec& font, HFONT inherited) { return font.face ? app_.SharedFont(font) : inherited; }

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

void Form::Close() {
    if (modal_) {
        modalResult_ = kModalCancel;
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

int Form::ShowModal() {
    const HWND previous = ::GetActiveWindow();
    // Only this form takes input while it is up: disable the thread's other windows.
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, Handle());
    for (HWND w : disabled) ::EnableWindow(w, FALSE);

    modal_ = true;
    modalResult_ = 0;
    Show();
    bool quit = false;
    while (modalResult_ == 0) {
        if (!app_.HandleMessage()) {
            quit = true;
            break;
        }
        if (modalResult_ != 0) {
            CloseAction action = CloseAction::Hide;
            DoClose(action);
            if (action == CloseAction::None) modalResult_ = 0;
        }
    }
    // The others are enabled before this one hides, so that one of them can take over.
    for (HWND w : disabled) {
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
    Hide();
    modal_ = false;
    Reactivate(previous);
    if (quit) ::PostQuitMessage(0);  // leave WM_QUIT for the outer loop
    return modalResult_;
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

void Form::SetClientHeight(int height) {
    // The outer size keeps the frame the window has now and takes the new client height.
    RECT outer = BoundsRect();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int newHeight = (outer.bottom - outer.top) - (client.bottom - client.top) + height;
    ::SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, newHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RemoveCaption(Form& form) {
    HWND hwnd = form.Handle();
    const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
    ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) & 0xFF3FFFFFu));
    const RECT outer = form.BoundsRect();
    form.SetClientHeight((outer.bottom - outer.top) - 46);
}

}  // namespace siborang::win
