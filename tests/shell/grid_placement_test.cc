#include "shell/grid_placement.h"

#include <gtest/gtest.h>

#include <vector>

#include "face/chart_title.h"
#include "shell/grid_area.h"

namespace vigil {
namespace {

constexpr CellSize kCell{320, 135};  // an 8 x 6 grid on 1920 x 1080

TEST(GridPlacementTest, TheCellUnderAPointAndItsNumber) {
  struct Case {
    int x, y;
    std::string number;
  } cases[] = {
      {700, 300, "0202"}, {0, 0, "0000"},       {319, 134, "0000"},
      {320, 135, "0101"}, {1919, 1079, "0705"}, {-5, -5, "0000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OrbNumberOf(CellAt(c.x, c.y, kCell)), c.number)
        << c.x << "," << c.y;
  }
  EXPECT_EQ(RowSlashColumn("0203"), "02/03");
}

TEST(GridPlacementTest, SizesSnapDownToWholeCellsAndNeverBelowOne) {
  struct Case {
    PixelSize size, snapped;
  } cases[] = {
      {{480, 202}, {320, 135}},  // 1.5 cells each way
      {{928, 135}, {640, 135}},  // 2.9 cells wide
      {{100, 10}, {320, 135}},   // below one cell
      {{640, 270}, {640, 270}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SnapToCells(c.size, kCell), c.snapped) << c.size.width;
  }
}

TEST(GridPlacementTest, TheZoomDoublesAndStaysOnTheGridsMonitor) {
  constexpr WindowRect kScreen{0, 0, 1920, 1080};
  // A 1280 x 1024 monitor right of the primary one, with an 8 x 6 grid.
  constexpr WindowRect kSecond{1920, 0, 1280, 1024};
  constexpr CellSize kSecondCell{213, 128};
  struct Case {
    const char* name;
    WindowRect window;
    GridSize size;
    CellSize cell;
    WindowRect area;
    WindowRect zoomed;
  } cases[] = {
      {"one high, two wide",
       {480, 270, 320, 90},
       {1, 2},
       {160, 90},
       kScreen,
       {320, 225, 640, 180}},
      {"top left corner",
       {0, 0, 320, 135},
       {1, 1},
       kCell,
       kScreen,
       {0, 0, 640, 270}},
      {"right edge",
       {1600, 135, 320, 135},
       {1, 1},
       kCell,
       kScreen,
       {1280, 68, 640, 270}},
      {"bottom edge",
       {640, 945, 320, 135},
       {1, 1},
       kCell,
       kScreen,
       {480, 810, 640, 270}},
      {"second monitor's left edge",
       {1920, 0, 213, 128},
       {1, 1},
       kSecondCell,
       kSecond,
       {1920, 0, 426, 256}},
      {"second monitor's bottom right corner",
       {2985, 896, 213, 128},
       {1, 1},
       kSecondCell,
       kSecond,
       {2774, 768, 426, 256}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZoomedWindow(c.window, c.size, c.cell, c.area), c.zoomed)
        << c.name;
  }
}

TEST(GridPlacementTest, TheHeaderChoosesTheGridsMonitor) {
  // Listed as a desktop may list them: the primary one in the middle.
  const std::vector<DesktopMonitor> desktop = {
      {"DP-2", {1920, 0, 1280, 1024}, true},
      {"HDMI-1", {0, 0, 1920, 1080}, false},
      {"DP-1", {3200, 0, 1920, 1200}, false},
  };
  using Kind = GridMonitor::Kind;
  struct Case {
    GridMonitor wanted;
    std::vector<DesktopMonitor> monitors;
    WindowRect area;
    bool missing;
  } cases[] = {
      {{}, desktop, {1920, 0, 1280, 1024}, false},
      {{Kind::kNumber, 1, ""}, desktop, {0, 0, 1920, 1080}, false},
      {{Kind::kNumber, 3, ""}, desktop, {3200, 0, 1920, 1200}, false},
      {{Kind::kNumber, 4, ""}, desktop, {1920, 0, 1280, 1024}, true},
      {{Kind::kName, 0, "HDMI-1"}, desktop, {0, 0, 1920, 1080}, false},
      {{Kind::kName, 0, "hdmi-1"}, desktop, {1920, 0, 1280, 1024}, true},
      {{Kind::kDesktop, 0, ""}, desktop, {0, 0, 5120, 1200}, false},
      // No primary flagged: the first listed; none at all: a default.
      {{}, {desktop[1], desktop[2]}, {0, 0, 1920, 1080}, false},
      {{Kind::kName, 0, "DP-1"}, {}, {0, 0, 1920, 1080}, true},
  };
  for (const Case& c : cases) {
    const GridArea chosen = ChooseGridArea(c.wanted, c.monitors);
    SCOPED_TRACE(DescribeGridMonitor(c.wanted));
    EXPECT_EQ(chosen.area, c.area);
    EXPECT_EQ(chosen.missing.empty(), !c.missing) << chosen.missing;
  }
  EXPECT_EQ(ChooseGridArea({Kind::kName, 0, "DP-3"}, desktop).missing,
            "No monitor \"DP-3\" on this desktop (DP-2, HDMI-1, DP-1): the "
            "grid is on the primary screen");
}

TEST(GridPlacementTest, AZoomedTitleShowsItsUnitUntilTheReturn) {
  EXPECT_EQ(TitleWithUnit("Disks", "%"), "Disks <%>");
  EXPECT_EQ(TitleWithUnit("Two\nlines", "ms"), "Two <ms>\nlines");
  EXPECT_EQ(TitleWithoutUnit("Disks <%>"), "Disks");
  EXPECT_EQ(TitleWithoutUnit("Two <ms>\nlines <x>"), "Two\nlines <x>");
  EXPECT_EQ(TitleWithoutUnit("Plain"), "Plain");
}

}  // namespace
}  // namespace vigil
