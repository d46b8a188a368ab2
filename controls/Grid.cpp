#include "controls/Grid.h"

#include <utility>

#include "core/Errors.h"
#include "win/Form.h"

namespace siborang {
namespace {

static_assert(kKeyPageUp == VK_PRIOR && kKeyPageDown == VK_NEXT && kKeyEnd == VK_END && kKeyHome == VK_HOME);
static_assert(kKeyLeft == VK_LEFT && kKeyUp == VK_UP && kKeyRight == VK_RIGHT && kKeyDown == VK_DOWN);

// Fills a rectangle in a colour without a brush: the background of an empty opaque text.
void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
}

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

GridWindow::GridWindow(TCustomGrid& model, HINSTANCE instance, const wchar_t* className,
                       const GridPlacement& placement, CellPainter painter)
    : model_(model),
      painter_(std::move(painter)),
      font_(placement.font),
      fontColor_(placement.fontColor),
      color_(placement.color),
      colorBrush_(::CreateSolidBrush(placement.color)) {
    win::RegisterWindowClass(instance, {.name = className});  // double-clicks arrive as such
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (placement.tabStop) style |= WS_TABSTOP;
    if (!placement.enabled) style |= WS_DISABLED;
    model_.SetHost(this);
    try {
        // A single sunken border, the 3-D look the calendar has.
        CreateHandle(instance, WS_EX_CLIENTEDGE, className, L"", style, placement.left, placement.top, placement.width,
                     placement.height, placement.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)));
    } catch (...) {
        model_.SetHost(nullptr);
        throw;
    }
}

GridWindow::~GridWindow() {
    DestroyHandle();
    model_.SetHost(nullptr);
}

void GridWindow::SetFont(HFONT font) noexcept {
    font_ = font;
    InvalidateGrid();
}

bool GridWindow::Focused() const noexcept { return Handle() && ::GetFocus() == Handle(); }

bool GridWindow::IsActiveControl() const noexcept {
    const win::Form* form = win::Form::FromHandle(::GetAncestor(Handle(), GA_ROOT));
    const win::Control* active = form ? form->ActiveControl() : nullptr;
    return active ? active->Handle() == Handle() : Focused();
}

LRESULT GridWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    switch (message) {
    case WM_GETDLGCODE:
        // Arrows stay here; Tab, Enter and Escape go to the dialog manager.
        return DLGC_WANTARROWS;
    case WM_SIZE:
        model_.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
        win::PaintDc dc(hwnd);
        Paint(dc.Get());
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateCell(model_.Col(), model_.Row());  // the focus rectangle
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (::IsWindowEnabled(hwnd) && ::IsWindowVisible(hwnd) && ::GetFocus() != hwnd) ::SetFocus(hwnd);
        if (::GetFocus() != hwnd) return 0;  // the focus was refused: so is the press
        const POINT at = PointOf(lParam);
        if (::GetCapture() != hwnd) ::SetCapture(hwnd);  // follow the pointer out of the window
        model_.MouseDown(at.x, at.y, message == WM_LBUTTONDBLCLK);
        if (!model_.Selecting() && ::GetCapture() == hwnd) {
            releasing_ = true;
            ::ReleaseCapture();
            releasing_ = false;
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        const POINT at = PointOf(lParam);
        model_.MouseMove(at.x, at.y);
        return 0;
    }
    case WM_LBUTTONUP: {
        if (::GetCapture() == hwnd) {
            releasing_ = true;
            ::ReleaseCapture();
            releasing_ = false;
        }
        const POINT at = PointOf(lParam);
        model_.MouseUp(at.x, at.y);
        return 0;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (!releasing_) model_.CancelSelecting();
        break;
    case WM_KEYDOWN:
        if (model_.KeyDown(static_cast<unsigned>(wParam), ::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0)) {
            return 0;
        }
        break;
    case WM_DESTROY:
        selectTimer_.SetEnabled(false);
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void GridWindow::InvalidateCell(int column, int row) {
    if (!Handle()) return;
    const GridRect cell = model_.CellRect(column, row);
    const int line = model_.GridLineWidth();
    RECT area{cell.left, cell.top, cell.right + line, cell.bottom + line};
    ::InvalidateRect(Handle(), &area, FALSE);
}

void GridWindow::InvalidateGrid() {
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void GridWindow::SetSelectTimer(bool running) {
    if (Handle()) selectTimer_.SetEnabled(running);
}

void GridWindow::SelectTimerTick() {
    POINT at{};
    ::GetCursorPos(&at);
    ::ScreenToClient(Handle(), &at);
    model_.SelectTimerTick(at.x, at.y);
}

void GridWindow::Paint(HDC target) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;
    // Drawn off screen and copied in one piece, so nothing flickers.
    win::MemoryDc memory(target);
    win::Bitmap buffer(::CreateCompatibleBitmap(target, width, height));
    win::SelectGuard selectBuffer(memory.Get(), buffer.Get());
    const HDC dc = memory.Get();
    ::FillRect(dc, &client, colorBrush_.Get());  // whatever lies beyond the last cells
    win::SelectGuard selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, OPAQUE);

    const unsigned options = model_.Options();
    const bool focused = IsActiveControl();
    const int line = model_.GridLineWidth();
    const COLORREF fixedLine = RGB(0, 0, 0);
    const COLORREF cellLine = color_ == RGB(192, 192, 192) ? RGB(128, 128, 128) : RGB(192, 192, 192);
    for (int row = 0; row < model_.RowCount(); ++row) {
        for (int column = 0; column < model_.ColCount(); ++column) {
            const GridRect g = model_.CellRect(column, row);
            if (g.left >= width || g.top >= height) continue;  // not visible
            const RECT rect{g.left, g.top, g.right, g.bottom};
            const bool fixed = model_.IsFixed(column, row);
            const bool current = model_.Current() == GridCell{column, row};
            const bool highlight = current && (!focused || (options & kDrawFocusSelected));
            const COLORREF fill = highlight ? ::GetSysColor(COLOR_HIGHLIGHT)
                                  : fixed   ? ::GetSysColor(COLOR_BTNFACE)
                                            : color_;
            ::SetTextColor(dc, highlight ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : fontColor_);
            FillSolid(dc, rect, fill);
            if (painter_) painter_(dc, column, row, rect);
            if (fixed) {
                RECT edge = rect;
                ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
            }
            if (current && focused) ::DrawFocusRect(dc, &rect);
            if (line > 0) {
                const bool vert = options & (fixed ? kFixedVertLine : kVertLine);
                const bool horz = options & (fixed ? kFixedHorzLine : kHorzLine);
                const COLORREF lineColor = fixed ? fixedLine : cellLine;
                FillSolid(dc, RECT{rect.right, rect.top, rect.right + line, rect.bottom + line},
                          vert ? lineColor : color_);
                FillSolid(dc, RECT{rect.left, rect.bottom, rect.right, rect.bottom + line},
                          horz ? lineColor : color_);
            }
        }
    }
    ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

}  // namespace siborang
