#include "shell/grid_placement.h"

#include <algorithm>

#include "store/text.h"

namespace vigil {
namespace {

int Cells(int pixels, int cell) { return std::max(pixels / cell, 1); }

}  // namespace

GridCell CellAt(int x, int y, const CellSize& cell) {
  return {std::max(y, 0) / std::max(cell.height, 1),
          std::max(x, 0) / std::max(cell.width, 1)};
}

std::string OrbNumberOf(GridCell cell) {
  return TwoDigits(cell.row) + TwoDigits(cell.column);
}

std::string RowSlashColumn(const std::string& orb_number) {
  return Mid(orb_number, 1, 2) + "/" + Mid(orb_number, 3, 2);
}

PixelSize SnapToCells(PixelSize size, const CellSize& cell) {
  const int width = std::max(cell.width, 1);
  const int height = std::max(cell.height, 1);
  return {Cells(size.width, width) * width,
          Cells(size.height, height) * height};
}

WindowRect ZoomedWindow(const WindowRect& window, GridSize size,
                        const CellSize& cell, const WindowRect& grid_area) {
  WindowRect zoomed;
  zoomed.left = std::max(window.left - window.width / 2, grid_area.left);
  zoomed.top = std::max(window.top - window.height / 2, grid_area.top);
  zoomed.width = size.columns * cell.width * 2;
  zoomed.height = size.rows * cell.height * 2;
  const int right = grid_area.left + grid_area.width;
  const int bottom = grid_area.top + grid_area.height;
  if (zoomed.left + zoomed.width > right) zoomed.left = right - zoomed.width;
  if (zoomed.top + zoomed.height > bottom) zoomed.top = bottom - zoomed.height;
  return zoomed;
}

}  // namespace vigil
