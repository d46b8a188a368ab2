#pragma once
// The cell grid TCustomGrid without its window: geometry, the current cell and how mouse and keys move
// it. The window side (controls/Grid.h) feeds it input and paints what it describes.
// Portable: no Win32 here.
#include <functional>

namespace siborang {

// What the grid asks of its window.
class GridHost {
public:
    virtual ~GridHost() = default;
    virtual void InvalidateCell(int column, int row) = 0;
    virtual void InvalidateGrid() = 0;
    // The 60 ms timer of the selecting state.
    virtual void SetSelectTimer(bool running) = 0;
};

// Key codes the grid acts on (the values of the Windows virtual keys).
enum GridKey : unsigned {
    kKeyPageUp = 0x21,
    kKeyPageDown = 0x22,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
};

enum GridOption : unsigned {
    kFixedVertLine = 1u << 0,
    kFixedHorzLine = 1u << 1,
    kVertLine = 1u << 2,
    kHorzLine = 1u << 3,
    kRangeSelect = 1u << 4,
    kDrawFocusSelected = 1u << 5,
};

struct GridCell {
    int column = 0;
    int row = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

struct GridRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const GridRect&, const GridRect&) = default;
};

inline constexpr unsigned kSelectTimerInterval = 60;  // milliseconds

class TCustomGrid {
public:
    using TNotifyEvent = std::function<void(TCustomGrid& sender)>;
    // The key may be set to 0 to cancel it.
    using KeyEvent = std::function<void(TCustomGrid& sender, unsigned& key, bool shift, bool ctrl)>;

    TCustomGrid();
    virtual ~TCustomGrid() = default;
    TCustomGrid(const TCustomGrid&) = delete;
    TCustomGrid& operator=(const TCustomGrid&) = delete;

    void SetHost(GridHost* host) noexcept { host_ = host; }

    // Geometry.
    int ColCount() const noexcept { return colCount_; }
    int RowCount() const noexcept { return rowCount_; }
    int FixedCols() const noexcept { return fixedCols_; }
    int FixedRows() const noexcept { return fixedRows_; }
    int DefaultColWidth() const noexcept { return colWidth_; }
    int DefaultRowHeight() const noexcept { return rowHeight_; }
    int GridLineWidth() const noexcept { return lineWidth_; }
    unsigned Options() const noexcept { return options_; }
    void SetColCount(int count);
    void SetRowCount(int count);
    void SetFixedCols(int count);
    void SetFixedRows(int count);
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);
    void SetGridLineWidth(int width);
    void SetOptions(unsigned options);
    // Pixels the columns (rows) share beyond their default width (height), so that a grid can
    // fill a window its cells do not divide: each cell edge moves by its share of them, rounded,
    // which leaves no cell more than a pixel wider than another. None by default.
    void SetExtraWidth(int pixels);
    void SetExtraHeight(int pixels);

    // The client area, as the window reports it; ClientResized runs after it is stored.
    void SetClientSize(int width, int height);
    int ClientWidth() const noexcept { return clientWidth_; }
    int ClientHeight() const noexcept { return clientHeight_; }

    // The cell's own pixels; its grid lines follow on the right and below.
    GridRect CellRect(int column, int row) const noexcept;
    // The cell under a client point, grid lines counted with the cell before them;
    // {-1, -1} outside the cells.
    GridCell MouseCoord(int x, int y) const noexcept;
    // The last column and row whose cells lie wholly in the client area (at least the first
    // scrollable one).
    int LastFullVisibleCol() const noexcept;
    int LastFullVisibleRow() const noexcept;
    bool IsFixed(int column, int row) const noexcept { return column < fixedCols_ || row < fixedRows_; }

    // The current cell.
    int Col() const noexcept { return current_.column; }
    int Row() const noexcept { return current_.row; }
    GridCell Current() const noexcept { return current_; }
    // Asks CanSelectCell, then makes the cell current and repaints the old and the new one.
    // An index outside the grid (or in its fixed part) fails with "Grid index out of range".
    void MoveCurrentCell(int column, int row, bool moveAnchor, bool show);

    // Input, in client coordinates. A press that the window has let through (the control
    // holds the focus); a double-click press only fires OnDblClick.
    void MouseDown(int x, int y, bool doubleClick);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    // One tick of the selecting timer, with the pointer where it is now.
    void SelectTimerTick(int x, int y);
    // The button was taken away (capture lost): the selecting state ends without a click.
    void CancelSelecting();
    bool Selecting() const noexcept { return selecting_; }
    // True when the key was one of the grid's movement keys.
    bool KeyDown(unsigned key, bool shift, bool ctrl);
    // Where a movement key would take the current cell (clamped to the scrollable cells).
    GridCell KeyTarget(unsigned key, bool ctrl) const noexcept;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    KeyEvent OnKeyDown;

protected:
    virtual bool CanSelectCell(int column, int row);
    // The click notification: fires OnClick.
    virtual void HandleClick();
    virtual void ClientResized(int width, int height);
    void InvalidateGrid();

private:
    void InvalidateCell(GridCell cell);
    void ClampCurrent();
    // Where a column's (row's) own pixels begin; one past the last gives the grid's far edge.
    int ColumnStart(int column) const noexcept;
    int RowStart(int row) const noexcept;

    GridHost* host_ = nullptr;
    int colCount_ = 5, rowCount_ = 5;
    int fixedCols_ = 1, fixedRows_ = 1;
    int colWidth_ = 64, rowHeight_ = 24;
    int lineWidth_ = 1;
    int extraWidth_ = 0, extraHeight_ = 0;
    unsigned options_ = kFixedVertLine | kFixedHorzLine | kVertLine | kHorzLine | kRangeSelect;
    int clientWidth_ = 0, clientHeight_ = 0;
    GridCell current_{1, 1};
    GridCell anchor_{1, 1};
    bool selecting_ = false;
};

}  // namespace siborang
