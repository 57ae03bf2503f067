#include "shell/grid_placement.h"

#include <gtest/gtest.h>

#include "face/chart_title.h"

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

TEST(GridPlacementTest, TheZoomDoublesAndStaysOnTheScreen) {
  struct Case {
    const char* name;
    WindowRect window;
    GridSize size;
    CellSize cell;
    WindowRect zoomed;
  } cases[] = {
      {"one high, two wide",
       {480, 270, 320, 90},
       {1, 2},
       {160, 90},
       {320, 225, 640, 180}},
      {"top left corner", {0, 0, 320, 135}, {1, 1}, kCell, {0, 0, 640, 270}},
      {"right edge",
       {1600, 135, 320, 135},
       {1, 1},
       kCell,
       {1280, 68, 640, 270}},
      {"bottom edge",
       {640, 945, 320, 135},
       {1, 1},
       kCell,
       {480, 810, 640, 270}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZoomedWindow(c.window, c.size, c.cell, {1920, 1080}), c.zoomed)
        << c.name;
  }
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
