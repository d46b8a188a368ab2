#include "controls/GridModel.h"

#include <algorithm>

#include "core/Errors.h"

namespace siborang {
namespace {

// The start of cell `index` along one axis: the cells and lines before it, and its share of the
// extra pixels, round(index * extra / count), halves up. A size below zero (a client area
// smaller than the grid lines) counts as empty cells.
int CellStart(int index, int size, int line, int extra, int count) noexcept {
    return index * (std::max(size, 0) + line) + (2 * index * extra + count) / (2 * count);
}

// The cell along one axis whose pixels or the line after them hold `at`; -1 past either end.
template <class Start>
int CellAt(int at, int count, Start start) noexcept {
    if (at < 0) return -1;
    for (int i = 0; i < count; ++i) {
        if (at < start(i + 1)) return i;
    }
    return -1;
}

}  // namespace

TCustomGrid::TCustomGrid() = default;

void TCustomGrid::SetColCount(int count) {
    colCount_ = std::max(count, fixedCols_ + 1);
    ClampCurrent();
    InvalidateGrid();
}

void TCustomGrid::SetRowCount(int count) {
    rowCount_ = std::max(count, fixedRows_ + 1);
    ClampCurrent();
    InvalidateGrid();
}

void TCustomGrid::SetFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, colCount_ - 1);
    current_ = anchor_ = {fixedCols_, fixedRows_};
    InvalidateGrid();
}

void TCustomGrid::SetFixedRows(int count) {
    fixedRows_ = std::clamp(count, 0, rowCount_ - 1);
    current_ = anchor_ = {fixedCols_, fixedRows_};
    InvalidateGrid();
}

void TCustomGrid::ClampCurrent() {
    // The current cell and the anchor stay in the scrollable part.
    auto clamp = [&](GridCell& cell) {
        cell.column = std::clamp(cell.column, fixedCols_, colCount_ - 1);
        cell.row = std::clamp(cell.row, fixedRows_, rowCount_ - 1);
    };
    clamp(current_);
    clamp(anchor_);
}

void TCustomGrid::SetDefaultColWidth(int width) {
    colWidth_ = width;
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
    rowHeight_ = height;
    InvalidateGrid();
}

void TCustomGrid::SetExtraWidth(int pixels) {
    extraWidth_ = std::max(pixels, 0);
    InvalidateGrid();
}

void TCustomGrid::SetExtraHeight(int pixels) {
    extraHeight_ = std::max(pixels, 0);
    InvalidateGrid();
}

void TCustomGrid::SetGridLineWidth(int width) {
    lineWidth_ = std::max(width, 0);
    InvalidateGrid();
}

void TCustomGrid::SetOptions(unsigned options) {
    options_ = options;
    InvalidateGrid();
}

void TCustomGrid::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    ClientResized(width, height);
}

void TCustomGrid::ClientResized(int, int) {}

int TCustomGrid::ColumnStart(int column) const noexcept {
    return CellStart(column, colWidth_, lineWidth_, extraWidth_, colCount_);
}

int TCustomGrid::RowStart(int row) const noexcept {
    return CellStart(row, rowHeight_, lineWidth_, extraHeight_, rowCount_);
}

GridRect TCustomGrid::CellRect(int column, int row) const noexcept {
    return {ColumnStart(column), RowStart(row), ColumnStart(column + 1) - lineWidth_, RowStart(row + 1) - lineWidth_};
}

GridCell TCustomGrid::MouseCoord(int x, int y) const noexcept {
    const int column = CellAt(x, colCount_, [this](int c) { return ColumnStart(c); });
    const int row = CellAt(y, rowCount_, [this](int r) { return RowStart(r); });
    if (column < 0 || row < 0) return {-1, -1};
    return {column, row};
}

int TCustomGrid::LastFullVisibleCol() const noexcept {
    int last = fixedCols_;
    for (int c = 0; c < colCount_; ++c) {
        if (CellRect(c, 0).right <= clientWidth_) last = std::max(last, c);
    }
    return last;
}

int TCustomGrid::LastFullVisibleRow() const noexcept {
    int last = fixedRows_;
    for (int r = 0; r < rowCount_; ++r) {
        if (CellRect(0, r).bottom <= clientHeight_) last = std::max(last, r);
    }
    return last;
}

bool TCustomGrid::CanSelectCell(int, int) { return true; }

void TCustomGrid::MoveCurrentCell(int column, int row, bool moveAnchor, bool /*show: nothing scrolls*/) {
    if (column < fixedCols_ || column >= colCount_ || row < fixedRows_ || row >= rowCount_) {
        throw EInvalidGridOperation("Grid index out of range");
    }
    if (!CanSelectCell(column, row)) return;
    const GridCell old = current_;
    current_ = {column, row};
    // Without range selection the anchor follows the current cell either way.
    if (moveAnchor || !(options_ & kRangeSelect)) anchor_ = current_;
    InvalidateCell(old);
    InvalidateCell(current_);
}

void TCustomGrid::InvalidateCell(GridCell cell) {
    if (host_) host_->InvalidateCell(cell.column, cell.row);
}

void TCustomGrid::InvalidateGrid() {
    if (host_) host_->InvalidateGrid();
}

void TCustomGrid::HandleClick() {
    if (OnClick) OnClick(*this);
}

void TCustomGrid::MouseDown(int x, int y, bool doubleClick) {
    if (doubleClick) {
        if (OnDblClick) OnDblClick(*this);
        return;
    }
    const GridCell cell = MouseCoord(x, y);
    if (cell.column < fixedCols_ || cell.row < fixedRows_) return;  // header, or outside the cells
    selecting_ = true;
    if (host_) host_->SetSelectTimer(true);
    MoveCurrentCell(cell.column, cell.row, true, true);
}

void TCustomGrid::MouseMove(int x, int y) {
    if (!selecting_) return;
    const GridCell cell = MouseCoord(x, y);
    if (cell.column < fixedCols_ || cell.row < fixedRows_ || cell == current_) return;
    MoveCurrentCell(cell.column, cell.row, true, true);
}

void TCustomGrid::MouseUp(int x, int y) {
    if (!selecting_) return;
    // A refused move must not leave the grid selecting, so the state ends first.
    struct EndSelecting {
        TCustomGrid& grid;
        ~EndSelecting() {
            grid.selecting_ = false;
            if (grid.host_) grid.host_->SetSelectTimer(false);
        }
    };
    {
        EndSelecting end{*this};
        MouseMove(x, y);
    }
    HandleClick();
}

void TCustomGrid::CancelSelecting() {
    if (!selecting_) return;
    selecting_ = false;
    if (host_) host_->SetSelectTimer(false);
}

void TCustomGrid::SelectTimerTick(int x, int y) {
    if (!selecting_) return;
    GridCell target = current_;
    if (x < 0) --target.column;
    if (x >= CellRect(LastFullVisibleCol(), 0).right) ++target.column;
    if (y < CellRect(0, fixedRows_).top) --target.row;
    if (y >= CellRect(0, LastFullVisibleRow()).bottom) ++target.row;
    target.column = std::clamp(target.column, fixedCols_, colCount_ - 1);
    target.row = std::clamp(target.row, fixedRows_, rowCount_ - 1);
    if (target != current_) MoveCurrentCell(target.column, target.row, true, true);
}

GridCell TCustomGrid::KeyTarget(unsigned key, bool ctrl) const noexcept {
    const int pageWidth = std::max(LastFullVisibleCol() - fixedCols_, 1);
    const int pageHeight = std::max(LastFullVisibleRow() - fixedRows_, 1);
    GridCell t = current_;
    switch (key) {
    case kKeyLeft: t.column -= ctrl ? pageWidth : 1; break;
    case kKeyRight: t.column += ctrl ? pageWidth : 1; break;
    case kKeyUp: if (!ctrl) --t.row; break;
    case kKeyDown: if (!ctrl) ++t.row; break;
    case kKeyHome:
        t.column = fixedCols_;
        if (ctrl) t.row = fixedRows_;
        break;
    case kKeyEnd:
        t.column = colCount_ - 1;
        if (ctrl) t.row = rowCount_ - 1;
        break;
    case kKeyPageUp: t.row = ctrl ? fixedRows_ : t.row - pageHeight; break;
    case kKeyPageDown: t.row = ctrl ? LastFullVisibleRow() : t.row + pageHeight; break;
    default: break;
    }
    t.column = std::clamp(t.column, fixedCols_, colCount_ - 1);
    t.row = std::clamp(t.row, fixedRows_, rowCount_ - 1);
    return t;
}

bool TCustomGrid::KeyDown(unsigned key, bool shift, bool ctrl) {
    if (OnKeyDown) OnKeyDown(*this, key, shift, ctrl);
    if (key < kKeyPageUp || key > kKeyDown) return false;
    const GridCell target = KeyTarget(key, ctrl);
    if (target != current_) {
        MoveCurrentCell(target.column, target.row, !shift, true);
        // The click notification runs whether or not the cell took the move.
        HandleClick();
    }
    return true;
}

}  // namespace siborang
