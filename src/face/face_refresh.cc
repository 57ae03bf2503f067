#include "face/face_refresh.h"

#include <algorithm>

#include "face/chart_bars.h"
#include "face/face_pictures.h"
#include "face/gauge_scale.h"
#include "store/config_record.h"
#include "store/text.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

constexpr std::string_view kTitleSplit = " / ";
constexpr char kLineBreak = '\r';

// Where each scale mark goes: top in percent of H; left in percent of W,
// measured from the right edge of the text for the right-hand marks.
struct MarkSpot {
  int top_percent;
  int left_percent;
  bool right_aligned;
};
constexpr std::array<MarkSpot, 6> kMarkSpots = {{
    {62, 78, true},
    {42, 81, true},
    {24, 73, true},
    {24, 32, false},
    {42, 22, false},
    {62, 25, false},
}};

std::string WithUnit(std::string text, const std::string& unit) {
  if (unit != "#") text += " " + unit;
  return text;
}

struct GaugeValue {
  bool has_row = false;
  double value = 0;
  std::string text = "No Data";
  bool unreadable = false;
  bool kept_item_missing = false;
};

GaugeValue ReadGaugeValue(const ItemTable& items, const OrbValues& values,
                          const ConfigRecord& record) {
  GaugeValue gauge;
  if (items.empty()) return gauge;
  const auto index = record.kept_row();
  const ItemRow* row = index ? items.RowAt(*index) : nullptr;
  if (row == nullptr) {
    gauge.kept_item_missing = true;
    return gauge;
  }
  gauge.has_row = true;
  const std::string unit = Trim(row->unit);
  gauge.text = WithUnit(Trim(row->data), unit);
  if (const auto value = ItemNumber(*row, values.number_format)) {
    gauge.value = *value;
  } else {
    gauge.unreadable = true;
  }
  if (record.keep_data()) {
    gauge.value = values.kept_increase;
    gauge.unreadable = false;
    gauge.text = WithUnit("+ " + NumberText(gauge.value), unit);
  }
  return gauge;
}

std::string ImageCaption(const std::string& title,
                         const std::string& gauge_caption,
                         const std::string& value_caption) {
  const size_t split = title.find(kTitleSplit);
  if (split != std::string::npos) {
    return title.substr(0, split) + kLineBreak +
           Mid(title, static_cast<int>(split + kTitleSplit.size()) + 1, 99);
  }
  return gauge_caption + kLineBreak + value_caption;
}

// A tiny gauge still gets a readable size of 1.
void SizeLabels(const GaugeGeometry& geometry, int offset,
                FaceRefreshPlan& plan) {
  const int w_gauge = geometry.gauge_width;
  const int h_gauge = geometry.gauge_height;
  plan.label_point_size =
      std::max(1, std::min(w_gauge / 20, h_gauge / 14) + offset);
  plan.value_point_size =
      std::max(1, std::min(w_gauge / 24, h_gauge / 18) + offset / 2);
}

ImageCaptionColours CaptionColours(Rgb orb, bool has_rules) {
  ImageCaptionColours caption;
  caption.text = has_rules ? kBlack : kTeal;
  if (orb == kYellow) caption = {kBlack, kYellow, true};
  if (orb == kRed) caption = {kYellow, kRed, true};
  return caption;
}

// Scale marks placed by the width of their text; the value label keeps
// clear of the widest.
void PlaceMarks(const GaugeGeometry& geometry, const TextWidth& text_width,
                FaceRefreshPlan& plan) {
  const int w_gauge = geometry.gauge_width;
  for (size_t i = 0; i < plan.marks.size(); ++i) {
    PlacedText& mark = plan.marks[i];
    const MarkSpot& spot = kMarkSpots[i];
    mark.left = w_gauge * spot.left_percent / 100;
    if (spot.right_aligned) {
      mark.left -=
          text_width(FaceFont::kScratch, plan.label_point_size, mark.text);
    }
    mark.top = geometry.gauge_height * spot.top_percent / 100;
  }
  plan.value_label_width =
      w_gauge -
      text_width(FaceFont::kGauge, plan.label_point_size, plan.marks[0].text) /
          2 -
      8;
}

// Centred on the window.
void PlaceGaugeCaption(const GaugeGeometry& geometry,
                       const TextWidth& text_width, FaceRefreshPlan& plan) {
  PlacedText& caption = plan.gauge_caption;
  const int caption_width =
      text_width(FaceFont::kGauge, plan.label_point_size, caption.text);
  caption.left = geometry.window_width / 2 - caption_width / 2 - 8;
  caption.top = geometry.gauge_height * 76 / 100;
}

// Shown only on a warning or an alert.
StateFlag FlagOf(Rgb orb, int point_size, const GaugeGeometry& geometry) {
  StateFlag flag;
  flag.point_size = point_size;
  flag.top = geometry.gauge_height * 36 / 100;
  if (orb == kYellow || orb == kRed) {
    const bool warning = orb == kYellow;
    flag.visible = true;
    flag.text = warning ? " Warning " : " Alert ";
    flag.background = warning ? kYellow : kRed;
    flag.text_colour = warning ? kRed : kYellow;
  }
  return flag;
}

// Centred on the window.
void PlaceFlag(const GaugeGeometry& geometry, const TextWidth& text_width,
               StateFlag& flag) {
  if (!flag.visible) return;
  const int flag_width =
      text_width(FaceFont::kGauge, flag.point_size, flag.text);
  flag.left = geometry.window_width / 2 - flag_width / 2 - 8;
}

// Without a title the image shows no caption and the result is canned;
// a split title is canned too.
void NoteCaptionFlags(const std::string& title, FaceState& state) {
  state.caption_shown = true;
  state.canned_result = false;
  if (title.empty()) {
    state.caption_shown = false;
    state.canned_result = true;
  } else if (title.find(kTitleSplit) != std::string::npos) {
    state.canned_result = true;
  }
}

}  // namespace

FaceRefreshPlan PlanFaceRefresh(const ItemTable& items, const OrbValues& values,
                                const FaceSettings& settings,
                                const GaugeGeometry& geometry,
                                const TextWidth& text_width, FaceState& state) {
  const ConfigRecord& record = settings.record;
  const Rgb orb = values.orb_colour;
  const bool suspended = orb == kSilver;
  const char units_digit = record.gauge_number()[1];
  FaceRefreshPlan plan;
  SizeLabels(geometry, settings.header.label_size_offset, plan);
  plan.image_caption_colours = CaptionColours(orb, settings.has_rules);

  const GaugeValue gauge = ReadGaugeValue(items, values, record);
  plan.value_unreadable = gauge.unreadable;
  plan.kept_item_missing = gauge.kept_item_missing;
  // The scale maximum grows only while there is a value to show.
  if (gauge.has_row)
    state.gauge_max = ScaleMaximum(state.gauge_max, gauge.value);
  plan.value_label = {suspended ? "Suspended" : gauge.text,
                      geometry.gauge_left + 4,
                      geometry.gauge_height * 57 / 100};

  const std::string title = Trim(record.tail().title);
  const std::string gauge_caption = " " + title + " ";
  plan.image_caption =
      ImageCaption(title, gauge_caption, plan.value_label.text);
  const auto mark_texts = ScaleMarkTexts(state.gauge_max);
  for (size_t i = 0; i < plan.marks.size(); ++i) {
    plan.marks[i].text = mark_texts[i];
  }

  const Rgb base = IsLightDial(units_digit) ? kBlack : kWhite;
  plan.label_colour = suspended ? kSilver : base;
  plan.gauge_caption_colour = base;
  plan.gauge_caption.text = gauge_caption;
  plan.flag = FlagOf(orb, plan.value_point_size, geometry);
  if (text_width) PlaceGaugeTexts(geometry, text_width, plan);

  state.gauge_percent = GaugePercent(gauge.value, state.gauge_max);
  plan.pointer_file = PointerFile(PointerStyle(orb, units_digit),
                                  PointerPart(state.gauge_percent));
  NoteCaptionFlags(title, state);
  plan.image_file = ImageFile(record);
  return plan;
}

void PlaceGaugeTexts(const GaugeGeometry& geometry, const TextWidth& text_width,
                     FaceRefreshPlan& plan) {
  PlaceMarks(geometry, text_width, plan);
  PlaceGaugeCaption(geometry, text_width, plan);
  PlaceFlag(geometry, text_width, plan.flag);
}

}  // namespace vigil
