// What the face keeps between refreshes and what it reads from the orb's
// configuration, as plain data that the window owns and passes in.
#ifndef VIGIL_FACE_FACE_STATE_H_
#define VIGIL_FACE_FACE_STATE_H_

#include <filesystem>
#include <string>

#include "store/orbs_file.h"

namespace vigil {

struct FaceState {
  double gauge_max = 0;        // GaugeMax: only grows until "Reset Scale"
  double gauge_percent = 0;    // GaugePercent: the pointer position
  bool caption_shown = true;   // CaptionShown: image caption over the image
  bool canned_result = false;  // CannedResult: read by the program runner
  bool gauge_chosen = false;   // GaugeChosen
  bool zoomed = false;         // Zoomed
  bool relayout_request = false;
  std::string gauge_picture_name = "Init";  // the dial picture last loaded
};

// The configuration that the face reads: the orb's record, whether it has
// rules, the header settings and where the pictures are looked up.
struct FaceSettings {
  ConfigRecord record;
  // The chart's title as drawn: the record's, with the unit while zoomed.
  std::string chart_title;
  bool has_rules = false;
  HeaderSettings header;
  std::filesystem::path working_dir = ".";
};

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_STATE_H_
