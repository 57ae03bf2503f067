// Where the face panels, pictures, the pointer and the listing columns go
// inside the borderless orb window, for any window size. Positions are
// relative to the parent named beside each rectangle.
#ifndef VIGIL_FACE_FACE_LAYOUT_H_
#define VIGIL_FACE_FACE_LAYOUT_H_

#include <array>
#include <string>

namespace vigil {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct FaceLayoutInput {
  int window_width = 169;
  int window_height = 89;
  int frame_width = 0;          // FrameWidth; above 0 gives the framed layout
  int chart_top = 0;            // the current chart's top before this layout
  bool caption_shown = true;    // CaptionShown
  int caption_size_offset = 0;  // CaptionSizeOffset
};

struct FaceGeometry {
  Rect error_panel;    // Panel2, in the window
  Rect charts;         // Chrts, in the window
  Rect chart;          // the current chart, in Chrts
  Rect listing;        // View07, in the window
  Rect start_picture;  // Image, in Chrts: the strip behind the title
  Rect gauge;          // Gauge, in the window
  Rect dial;           // Gauge0x, in Gauge
  Rect image_panel;    // Objct, in the window
  Rect image;          // Image00, in Objct
  Rect image_caption;  // ImgCap02, in Objct
  bool image_caption_shown = true;
  int image_caption_point_size = 1;
};

// The panels inside the borderless window.
FaceGeometry FitBorderlessPanels(const FaceLayoutInput& input);

// Grid cells and the grid-size text that the profile writer compares.
struct RelayoutInput {
  FaceLayoutInput layout;
  int cell_width = 0;
  int cell_height = 0;
  bool zoomed = false;                // Zoomed: keep the stored size
  std::string record_grid_size = "";  // columns 19-23 of the record
};

struct RelayoutGeometry {
  FaceGeometry panels;
  Rect pointer;  // Point, in Gauge
  std::string grid_size_text;
  std::array<int, 5> listing_columns{};  // "~", Item, Data, Unit, Color
};

// The whole relayout: the panels, the pointer, the grid size and the
// listing's column widths.
RelayoutGeometry RelayoutFace(const RelayoutInput& input);

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_LAYOUT_H_
