// The arithmetic of the screen grid that dragging and resizing use: the
// cell under a point, its orb number, and a size in whole cells.
#ifndef VIGIL_SHELL_GRID_PLACEMENT_H_
#define VIGIL_SHELL_GRID_PLACEMENT_H_

#include <string>

#include "store/orbs_file.h"

namespace vigil {

struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct GridCell {
  int row = 0;
  int column = 0;
};

// The cell that holds the screen point; nullopt-free: a cell size below
// one pixel counts as one.
GridCell CellAt(int x, int y, const CellSize& cell);

// Row then column, two digits each: "0203".
std::string OrbNumberOf(GridCell cell);

// "RR/CC" of an orb number, as messages show it.
std::string RowSlashColumn(const std::string& orb_number);

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Rounded down to whole cells, at least one in each direction.
PixelSize SnapToCells(PixelSize size, const CellSize& cell);

// The zoom: twice the stored size in cells, moved up and left by half the
// window's size but not past the grid's top left corner, and pulled back
// inside its right and bottom edges.
WindowRect ZoomedWindow(const WindowRect& window, GridSize size,
                        const CellSize& cell, const WindowRect& grid_area);

}  // namespace vigil

#endif  // VIGIL_SHELL_GRID_PLACEMENT_H_
