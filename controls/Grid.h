#pragma once
// The window of a cell grid: it turns mouse, keys, timer and size messages into calls on a
// TCustomGrid and paints the cells that the model lays out, double-buffered.
#include <functional>

#include "controls/GridModel.h"
#include "win/Handles.h"
#include "win/Timer.h"
#include "win/Win32.h"
#include "win/Window.h"

namespace siborang {

// Where and how a grid window is made.
struct GridPlacement {
    HWND parent = nullptr;
    int id = 0;
    int left = 0, top = 0;
    int width = 320, height = 120;  // the framework's 5 x 64 by 5 x 24
    HFONT font = nullptr;           // not owned; the control's Font
    COLORREF fontColor = 0;
    COLORREF color = 0;             // the control's Color
    bool tabStop = true;
    bool enabled = true;
};

class GridWindow final : public GridHost, public win::WindowBase {
public:
    // Draws one cell's contents after the grid has filled it and set font and colours.
    using CellPainter = std::function<void(HDC dc, int column, int row, const RECT& rect)>;

    GridWindow(TCustomGrid& model, HINSTANCE instance, const wchar_t* className, const GridPlacement& placement,
               CellPainter painter);
    ~GridWindow() override;
    GridWindow(const GridWindow&) = delete;
    GridWindow& operator=(const GridWindow&) = delete;

    COLORREF Color() const noexcept { return color_; }
    HFONT Font() const noexcept { return font_; }
    // Not owned, as the placement's; the cells are drawn in it from now on.
    void SetFont(HFONT font) noexcept;
    // What the grid tells a screen reader, owned by the grid's owner (nullptr: the system's answer).
    void SetAccessible(win::AccessibleSource* source) noexcept { accessible_ = source; }
    win::AccessibleSource* Accessible() noexcept override { return accessible_; }

    void InvalidateCell(int column, int row) override;
    void InvalidateGrid() override;
    void SetSelectTimer(bool running) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC target);
    // The pointer dragged out of the grid while selecting moves the selection on, a cell a tick.
    void SelectTimerTick();
    bool Focused() const noexcept;
    // The grid is the control of its form that has, or had when the form was left, the focus.
    bool IsActiveControl() const noexcept;

    TCustomGrid& model_;
    CellPainter painter_;
    HFONT font_;
    COLORREF fontColor_;
    COLORREF color_;
    win::Brush colorBrush_;
    bool releasing_ = false;  // our own ReleaseCapture is no lost capture
    win::AccessibleSource* accessible_ = nullptr;
    win::Timer selectTimer_{*this, kSelectTimerInterval, false, [this](win::Timer&) { SelectTimerTick(); }};
};

}  // namespace siborang
