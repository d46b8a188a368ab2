// The cell grid without its window: geometry, the current cell, the selecting state and the
// key table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "controls/GridModel.h"
#include "core/Errors.h"

namespace siborang {
namespace {

class RecordingHost : public GridHost {
public:
    void InvalidateCell(int column, int row) override {
        log.push_back("cell " + std::to_string(column) + "," + std::to_string(row));
    }
    void InvalidateGrid() override { log.push_back("grid"); }
    void SetSelectTimer(bool running) override {
        timer = running;
        log.push_back(running ? "timer on" : "timer off");
    }
    std::vector<std::string> log;
    bool timer = false;
};

// A 7 x 7 grid with a header row, as the calendar sets it up, that refuses some cells.
class TestGrid : public TCustomGrid {
public:
    TestGrid() {
        SetFixedCols(0);
        SetColCount(7);
        SetRowCount(7);
        SetOptions(Options() & ~kRangeSelect);
        SetDefaultColWidth(49);
        SetDefaultRowHeight(28);
        SetClientSize(349, 202);
    }
    std::set<std::pair<int, int>> refused;
    int clicks = 0;

protected:
    bool CanSelectCell(int column, int row) override { return !refused.contains({column, row}); }
    void HandleClick() override {
        ++clicks;
        TCustomGrid::HandleClick();
    }
};

class Grid : public ::testing::Test {
protected:
    void SetUp() override { grid.SetHost(&host); }
    TestGrid grid;
    RecordingHost host;
};

TEST(GridFixedCols, TheCurrentCellLeavesAFixedColumnGone) {
    TCustomGrid grid;
    ASSERT_EQ(grid.Current(), (GridCell{1, 1}));
    grid.SetFixedCols(0);  // the current cell moves to the first scrollable cell
    EXPECT_EQ(grid.Current(), (GridCell{0, 1}));
}

TEST_F(Grid, CellsAreFollowedByTheirGridLines) {
    EXPECT_EQ(grid.CellRect(0, 0), (GridRect{0, 0, 49, 28}));
    EXPECT_EQ(grid.CellRect(6, 6), (GridRect{300, 174, 349, 202}));
    EXPECT_EQ(grid.MouseCoord(0, 0), (GridCell{0, 0}));
    EXPECT_EQ(grid.MouseCoord(49, 28), (GridCell{0, 0}));  // the lines belong to the cell before
    EXPECT_EQ(grid.MouseCoord(50, 29), (GridCell{1, 1}));
    EXPECT_EQ(grid.MouseCoord(348, 201), (GridCell{6, 6}));
    EXPECT_EQ(grid.MouseCoord(350, 100), (GridCell{-1, -1}));
    EXPECT_EQ(grid.MouseCoord(-1, 100), (GridCell{-1, -1}));
    EXPECT_EQ(grid.LastFullVisibleCol(), 6);
    EXPECT_EQ(grid.LastFullVisibleRow(), 6);
    grid.SetClientSize(348, 201);
    EXPECT_EQ(grid.LastFullVisibleCol(), 5);
    EXPECT_EQ(grid.LastFullVisibleRow(), 5);
}

TEST_F(Grid, MoveCurrentCellAsksFirstAndRepaintsBothCells) {
    grid.MoveCurrentCell(3, 2, true, true);
    EXPECT_EQ(grid.Current(), (GridCell{3, 2}));
    EXPECT_EQ(host.log, (std::vector<std::string>{"cell 0,1", "cell 3,2"}));
    host.log.clear();
    grid.refused.insert({4, 4});
    grid.MoveCurrentCell(4, 4, true, true);
    EXPECT_EQ(grid.Current(), (GridCell{3, 2}));
    EXPECT_TRUE(host.log.empty());
}

TEST_F(Grid, IndexesOutsideTheGridFail) {
    for (GridCell bad : {GridCell{7, 1}, GridCell{-1, 1}, GridCell{0, 7}, GridCell{0, -1}, GridCell{3, 0}}) {
        try {
            grid.MoveCurrentCell(bad.column, bad.row, true, true);
            ADD_FAILURE() << bad.column << "," << bad.row << " accepted";
        } catch (const EInvalidGridOperation& e) {
            EXPECT_STREQ(e.what(), "Grid index out of range");
        }
    }
    EXPECT_EQ(grid.Current(), (GridCell{0, 1}));
}

TEST_F(Grid, KeyTableWithAndWithoutCtrl) {
    grid.MoveCurrentCell(3, 3, true, true);
    auto target = [&](unsigned key, bool ctrl) { return grid.KeyTarget(key, ctrl); };
    EXPECT_EQ(target(kKeyLeft, false), (GridCell{2, 3}));
    EXPECT_EQ(target(kKeyRight, false), (GridCell{4, 3}));
    EXPECT_EQ(target(kKeyUp, false), (GridCell{3, 2}));
    EXPECT_EQ(target(kKeyDown, false), (GridCell{3, 4}));
    EXPECT_EQ(target(kKeyHome, false), (GridCell{0, 3}));
    EXPECT_EQ(target(kKeyEnd, false), (GridCell{6, 3}));
    EXPECT_EQ(target(kKeyPageUp, false), (GridCell{3, 1}));    // 3 - 5, clamped
    EXPECT_EQ(target(kKeyPageDown, false), (GridCell{3, 6}));  // 3 + 5, clamped
    EXPECT_EQ(target(kKeyLeft, true), (GridCell{0, 3}));       // a page is 6 columns
    EXPECT_EQ(target(kKeyRight, true), (GridCell{6, 3}));
    EXPECT_EQ(target(kKeyUp, true), (GridCell{3, 3}));
    EXPECT_EQ(target(kKeyDown, true), (GridCell{3, 3}));
    EXPECT_EQ(target(kKeyHome, true), (GridCell{0, 1}));
    EXPECT_EQ(target(kKeyEnd, true), (GridCell{6, 6}));
    EXPECT_EQ(target(kKeyPageUp, true), (GridCell{3, 1}));
    EXPECT_EQ(target(kKeyPageDown, true), (GridCell{3, 6}));
    grid.SetClientSize(250, 120);  // columns 0-4 and rows 0-3 wholly visible
    EXPECT_EQ(target(kKeyPageDown, true), (GridCell{3, 3}));
    EXPECT_EQ(target(kKeyPageDown, false), (GridCell{3, 5}));  // a page is 2 rows
    EXPECT_EQ(target(kKeyLeft, true), (GridCell{0, 3}));       // and 4 columns
    grid.MoveCurrentCell(0, 3, true, true);
    EXPECT_EQ(target(kKeyRight, true), (GridCell{4, 3}));
}

TEST_F(Grid, KeysClickAfterEveryMoveTheyTryEvenARefusedOne) {
    grid.MoveCurrentCell(3, 3, true, true);
    grid.refused.insert({4, 3});
    EXPECT_TRUE(grid.KeyDown(kKeyRight, false, false));
    EXPECT_EQ(grid.Current(), (GridCell{3, 3}));
    EXPECT_EQ(grid.clicks, 1);
    grid.KeyDown(kKeyLeft, true, false);  // Shift moves the same way
    EXPECT_EQ(grid.Current(), (GridCell{2, 3}));
    EXPECT_EQ(grid.clicks, 2);
    grid.MoveCurrentCell(0, 1, true, true);
    grid.KeyDown(kKeyUp, false, false);  // nowhere to go: no click
    grid.KeyDown(kKeyLeft, false, false);
    EXPECT_EQ(grid.clicks, 2);
    EXPECT_FALSE(grid.KeyDown('A', false, false));
    EXPECT_FALSE(grid.KeyDown(0x2E /* Delete */, false, false));
    EXPECT_EQ(grid.clicks, 2);
    // OnKeyDown may cancel the key.
    grid.OnKeyDown = [](TCustomGrid&, unsigned& key, bool, bool) {
        if (key == kKeyDown) key = 0;
    };
    grid.KeyDown(kKeyDown, false, false);
    EXPECT_EQ(grid.Current(), (GridCell{0, 1}));
    EXPECT_EQ(grid.clicks, 2);
}

TEST_F(Grid, SelectingFollowsThePointerAndClicksOnRelease) {
    int dbl = 0;
    grid.OnDblClick = [&](TCustomGrid&) { ++dbl; };
    grid.MouseDown(60, 40, false);  // cell 1,1
    EXPECT_TRUE(grid.Selecting());
    EXPECT_TRUE(host.timer);
    EXPECT_EQ(grid.Current(), (GridCell{1, 1}));
    grid.MouseMove(110, 40);
    EXPECT_EQ(grid.Current(), (GridCell{2, 1}));
    grid.MouseMove(110, 10);  // over the header: stays
    EXPECT_EQ(grid.Current(), (GridCell{2, 1}));
    grid.MouseUp(160, 70);  // the release point counts as a last move
    EXPECT_EQ(grid.Current(), (GridCell{3, 2}));
    EXPECT_FALSE(grid.Selecting());
    EXPECT_FALSE(host.timer);
    EXPECT_EQ(grid.clicks, 1);
    grid.MouseDown(160, 70, true);  // the second press of a double-click
    grid.MouseUp(160, 70);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(grid.clicks, 1);
    grid.MouseDown(160, 10, false);  // header
    grid.MouseUp(160, 10);
    grid.MouseDown(400, 70, false);  // outside the cells
    grid.MouseUp(400, 70);
    EXPECT_EQ(grid.clicks, 1);
    EXPECT_FALSE(host.timer);
}

TEST_F(Grid, TimerTicksStepTowardsThePointerOutsideTheCells) {
    grid.MouseDown(160, 70, false);  // cell 3,2
    grid.SelectTimerTick(160, 70);   // inside: no step
    EXPECT_EQ(grid.Current(), (GridCell{3, 2}));
    grid.SelectTimerTick(349, 70);  // right of the last column
    EXPECT_EQ(grid.Current(), (GridCell{4, 2}));
    grid.SelectTimerTick(400, 250);  // right and below
    EXPECT_EQ(grid.Current(), (GridCell{5, 3}));
    grid.SelectTimerTick(400, 250);
    grid.SelectTimerTick(400, 250);
    grid.SelectTimerTick(400, 250);
    EXPECT_EQ(grid.Current(), (GridCell{6, 6}));  // never past the last cell
    grid.SelectTimerTick(-1, 10);  // left and over the header
    EXPECT_EQ(grid.Current(), (GridCell{5, 5}));
    grid.refused.insert({4, 4});
    grid.SelectTimerTick(-1, 10);  // a refused step leaves the cell
    EXPECT_EQ(grid.Current(), (GridCell{5, 5}));
    grid.CancelSelecting();
    EXPECT_FALSE(host.timer);
    grid.SelectTimerTick(-1, 10);
    EXPECT_EQ(grid.Current(), (GridCell{5, 5}));
    EXPECT_EQ(grid.clicks, 0);
}

}  // namespace
}  // namespace siborang
