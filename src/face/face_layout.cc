#include "face/face_layout.h"

#include <algorithm>

#include "store/config_record.h"

namespace vigil {
namespace {

constexpr int kListingOffset = 32;  // below the title strip
constexpr int kStripHeight = 23;

}  // namespace

FaceGeometry FitBorderlessPanels(const FaceLayoutInput& input) {
  const int w = input.window_width;
  const int h = input.window_height;
  const bool framed = input.frame_width > 0;
  FaceGeometry geometry;
  geometry.error_panel = {5, 5, w - 10, h - 10};

  // Image panel and caption.
  if (framed) {
    geometry.image_panel = {5, 5, w - 10, h - 10};
    geometry.image = {4, 4, geometry.image_panel.width - 8, 0};
  } else {
    geometry.image_panel = {1, 1, w - 2, h - 2};
    geometry.image = {0, 0, geometry.image_panel.width - 1, 0};
  }
  const int panel_height = geometry.image_panel.height;
  geometry.image.height =
      input.caption_shown ? panel_height * 60 / 100 : panel_height;
  geometry.image_caption_shown = input.caption_shown;
  geometry.image_caption = {geometry.image.left, panel_height * 60 / 100 + 4,
                            geometry.image.width, geometry.image.height - 2};
  geometry.image_caption_point_size = std::max(
      1, (panel_height * 40 / 100) / 4 + input.caption_size_offset - 1);

  // Gauge, chart panel, chart and listing.
  if (framed) {
    geometry.gauge = {5, 5, w - 10, h - 10};
    geometry.dial = {4, 4, geometry.gauge.width - 8, h - 18};
    geometry.charts = {5, 5, w - 10, h - 10};
    geometry.chart = {1, 1, geometry.charts.width - 1, h - 4};
    geometry.listing = {5, input.chart_top + kListingOffset,
                        geometry.chart.width,
                        geometry.chart.height - kListingOffset - 3};
  } else {
    geometry.gauge = {1, 1, w - 2, h - 2};
    geometry.dial = {0, 0, geometry.gauge.width, h - 2};
    geometry.charts = {1, 1, w - 2, h - 2};
    geometry.chart = {0, 0, geometry.charts.width - 1, h - 2};
    geometry.listing = {1, input.chart_top + kListingOffset,
                        geometry.chart.width,
                        geometry.chart.height - kListingOffset};
  }
  geometry.start_picture = {3, 3, geometry.listing.width - 6, kStripHeight};
  return geometry;
}

RelayoutGeometry RelayoutFace(const RelayoutInput& input) {
  RelayoutGeometry result;
  result.panels = FitBorderlessPanels(input.layout);

  const Rect& gauge = result.panels.gauge;
  result.pointer = {gauge.width * 25 / 100, gauge.height * 22 / 100,
                    gauge.width * 50 / 100, gauge.height * 52 / 100};

  // A zoom is never saved as a new size; nor is a size without a grid.
  if (input.zoomed || input.cell_width <= 0 || input.cell_height <= 0) {
    result.grid_size_text = input.record_grid_size;
  } else {
    result.grid_size_text =
        FormatGridSizeText({input.layout.window_height / input.cell_height,
                            input.layout.window_width / input.cell_width});
  }

  const int a = result.panels.listing.width * 100 - 2200;
  auto share = [a](int percent) { return std::max(0, a * percent / 10000); };
  result.listing_columns = {18, share(50), share(20), share(17), 0};
  return result;
}

}  // namespace vigil
