#include "face/face_layout.h"

namespace vigil {

FaceGeometry FitBorderlessPanels(const FaceLayoutInput& input) {
  const int w = input.window_width;
  const int h = input.window_height;
  FaceGeometry geometry;
  geometry.error_panel = {5, 5, w - 10, h - 10};
  if (input.frame_width <= 0) {
    geometry.charts = {1, 1, w - 2, h - 2};
    geometry.chart = {0, 0, geometry.charts.width - 1, h - 2};
    geometry.listing = {1, input.chart_top + 32, geometry.chart.width,
                        geometry.chart.height - 32};
  } else {
    geometry.charts = {5, 5, w - 10, h - 10};
    geometry.chart = {1, 1, geometry.charts.width - 1, h - 4};
    geometry.listing = {5, input.chart_top + 32, geometry.chart.width,
                        geometry.chart.height - 35};
  }
  return geometry;
}

}  // namespace vigil
