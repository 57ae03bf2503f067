// RefreshFace as arithmetic: what the gauge and image elements show after
// a refresh, computed from the item table, the orb's values and its
// record. The widget measures texts and applies the plan.
#ifndef VIGIL_FACE_FACE_REFRESH_H_
#define VIGIL_FACE_FACE_REFRESH_H_

#include <array>
#include <functional>
#include <string>

#include "face/face_state.h"
#include "monitor/item_table.h"
#include "store/colour.h"
#include "store/orb_values.h"

namespace vigil {

// The two gauge fonts: GLab00 measures in "System" bold, the visible
// labels are "Times New Roman" bold.
enum class FaceFont { kScratch, kGauge };

// The auto-sized width of a label with this font, size and text.
using TextWidth =
    std::function<int(FaceFont font, int point_size, const std::string& text)>;

// Sizes the refresh reads from the window.
struct GaugeGeometry {
  int gauge_left = 1;
  int gauge_width = 167;   // W
  int gauge_height = 87;   // H
  int window_width = 169;  // w
};

struct PlacedText {
  std::string text;
  int left = 0;
  int top = 0;
};

struct StateFlag {
  bool visible = false;  // shown only on a warning or an alert
  std::string text;      // " Warning " or " Alert " when visible
  Rgb background = kYellow;
  Rgb text_colour = kBlack;
  int point_size = 1;
  int left = 0;
  int top = 0;
};

struct ImageCaptionColours {
  Rgb text = kTeal;
  Rgb background = kWhite;
  bool opaque = false;
};

struct FaceRefreshPlan {
  int label_point_size = 1;  // GLab00, GLab01, GLab03 to GLab08
  int value_point_size = 1;  // GLab02
  ImageCaptionColours image_caption_colours;  // ImgCap02
  PlacedText value_label;                     // GLab02
  int value_label_width = 0;
  PlacedText gauge_caption;   // GLab01
  std::string image_caption;  // ImgCap01 and ImgCap02; "\r" breaks the line
  std::array<PlacedText, 6> marks;    // GLab03 (100 %) to GLab08 (0 %)
  Rgb label_colour = kBlack;          // GLab02 to GLab08
  Rgb gauge_caption_colour = kBlack;  // GLab01, on a transparent aqua
  StateFlag flag;                     // GLab09
  std::string pointer_file;           // loaded into Point when it exists
  std::string image_file;             // loaded into Image00 when it exists
  // The kept row's Data could not be read: the gauge shows its text and
  // takes the value as 0 instead of ending the refresh halfway.
  bool value_unreadable = false;
  // Columns 41-42 name no row of the table: shown as "No Data".
  bool kept_item_missing = false;
};

// Runs the refresh steps; updates GaugeMax, GaugePercent, CaptionShown and
// CannedResult in the state. Running it twice gives the same plan. Without
// text_width the gauge's texts are left unplaced (measuring them costs the
// fonts of every size a gauge may show): PlaceGaugeTexts places them when
// the gauge comes into sight.
FaceRefreshPlan PlanFaceRefresh(const ItemTable& items, const OrbValues& values,
                                const FaceSettings& settings,
                                const GaugeGeometry& geometry,
                                const TextWidth& text_width, FaceState& state);

// The scale marks, the value label's width, the caption and the flag, by
// the width of their texts.
void PlaceGaugeTexts(const GaugeGeometry& geometry, const TextWidth& text_width,
                     FaceRefreshPlan& plan);

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_REFRESH_H_
