// Where the face panels go inside the borderless orb window.
#ifndef VIGIL_FACE_FACE_LAYOUT_H_
#define VIGIL_FACE_FACE_LAYOUT_H_

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
  int frame_width = 0;  // FrameWidth; above 0 gives the framed layout
  int chart_top = 0;    // the current chart's top before this layout
};

struct FaceGeometry {
  Rect error_panel;  // Panel2
  Rect charts;       // Chrts
  Rect chart;        // the current chart, inside Chrts
  Rect listing;      // View07
};

FaceGeometry FitBorderlessPanels(const FaceLayoutInput& input);

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_LAYOUT_H_
