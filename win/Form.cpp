#include "win/Form.h"

#include <algorithm>
#include <utility>

#include "core/Errors.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

constexpr wchar_t kFormProperty[] = L"Siborang.Form";

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

Form::Form(Application& app, const FormSpec& design) : app_(app) {
    RegisterClassFor(design);
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
    int left = design.left, top = design.top;
    if (design.screenCenter) {
        left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    ::CreateWindowExW(exStyle, design.className, design.caption, style, left, top, width, height,
                      app.Handle(), nullptr, app.ModuleInstance(), this);
    if (!hwnd_) throw AppError("Error creating window " + Narrow(design.className));
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

Form::~Form() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Form::RegisterClassFor(const FormSpec& design) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(app_.ModuleInstance(), design.className, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Form::StaticProc;
    wc.hInstance = app_.ModuleInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(app_.ModuleInstance(), L"MAINICON");
    wc.lpszClassName = design.className;
    ::RegisterClassExW(&wc);
}

Form* Form::FromHandle(HWND hwnd) noexcept {
    return static_cast<Form*>(::GetPropW(hwnd, kFormProperty));
}

LRESULT CALLBACK Form::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* self = FromHandle(hwnd);
    if (message == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetPropW(hwnd, kFormProperty, self);
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kFormProperty);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // The error boundary: nothing thrown by a handler unwinds into Win32.
    return Guard([&] { return self->WindowProc(message, wParam, lParam); });
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleChildMessage(message, wParam, lParam, result)) return result;
    if (RouteMouse(hwnd_, nullptr, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_TIMER:
        for (Timer* timer : timers_) {
            if (timer->HandleTimer(wParam)) return 0;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT rc;
        ::GetClientRect(hwnd_, &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, backBrush_.Get());
        return 1;
    }
    case WM_PAINT: {
        PaintDc dc(hwnd_);
        PaintGraphicChildren(dc.Get(), nullptr);
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
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
        if (!::IsWindowVisible(c->Handle()) || !::IsWindowEnabled(c->Handle())) continue;
        if (c->IsContainer()) {
            CollectTabStops(c, stops);
        } else if (c->TabOrder() >= 0) {
            stops.push_back(c);
        }
    }
}

bool Form::TabFrom(HWND focus, bool backward) {
    std::vector<Control*> stops;
    CollectTabStops(nullptr, stops);
    if (stops.empty()) return false;
    // The focus may sit in a control's own child (a combo box's edit part).
    Control* current = nullptr;
    for (HWND h = focus; h && h != hwnd_ && !current; h = ::GetParent(h)) current = Control::FromHandle(h);
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
            c->HandleCommand(BN_CLICKED);
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

HFONT Form::FontFor(const FontSpec& font, HFONT inherited) {
    if (!font.face) return inherited;
    for (const auto& f : fonts_) {
        if (f.face == font.face && f.height == font.height && f.bold == font.bold && f.underline == font.underline) {
            return f.font.Get();
        }
    }
    LOGFONTW lf{};
    lf.lfHeight = -font.height;  // a negative height asks for the character height
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
    fonts_.push_back({font.face, font.height, font.bold, font.underline, Font(::CreateFontIndirectW(&lf))});
    return fonts_.back().font.Get();
}

void Form::Show() {
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd_);
}

void Form::Hide() { ::ShowWindow(hwnd_, SW_HIDE); }

bool Form::Visible() const noexcept { return ::IsWindowVisible(hwnd_) != FALSE; }

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
    // Only this form takes input while it is up: disable the thread's other windows.
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, hwnd_);
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
    for (HWND w : disabled) {
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
    Hide();
    modal_ = false;
    if (quit) ::PostQuitMessage(0);  // leave WM_QUIT for the outer loop
    return modalResult_;
}

RECT Form::BoundsRect() const noexcept {
    RECT rc{};
    ::GetWindowRect(hwnd_, &rc);
    return rc;
}

void Form::SetLeft(int left) {
    const RECT rc = BoundsRect();
    ::SetWindowPos(hwnd_, nullptr, left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(int top) {
    const RECT rc = BoundsRect();
    ::SetWindowPos(hwnd_, nullptr, rc.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetClientHeight(int height) {
    // The outer size keeps the frame the window has now and takes the new client height.
    RECT outer = BoundsRect();
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int newHeight = (outer.bottom - outer.top) - (client.bottom - client.top) + height;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, newHeight,
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
