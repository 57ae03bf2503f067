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
                        const CellSize& cell, PixelSize screen) {
  WindowRect zoomed;
  zoomed.left = std::max(window.left - window.width / 2, 0);
  zoomed.top = std::max(window.top - window.height / 2, 0);
  zoomed.width = size.columns * cell.width * 2;
  zoomed.height = size.rows * cell.height * 2;
  if (zoomed.left + zoomed.width > screen.width) {
    zoomed.left = screen.width - zoomed.width;
  }
  if (zoomed.top + zoomed.height > screen.height) {
    zoomed.top = screen.height - zoomed.height;
  }
  return zoomed;
}

}  // namespace vigil
