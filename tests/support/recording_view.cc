#include "support/recording_view.h"

namespace vigil::testing {

void RecordingView::SetStatusCaption(const std::string& caption) {
  captions_.push_back(caption);
}

void RecordingView::SetFrameColour(Rgb colour) {
  frame_colours_.push_back(colour);
}

void RecordingView::ShowError(const std::string& message) {
  errors_.push_back(message);
}

void RecordingView::RefreshFace() { ++refresh_count_; }

void RecordingView::LetEventsRun(std::chrono::milliseconds duration) {
  event_runs_.push_back(duration);
  if (hook_) hook_(duration);
}

std::string RecordingView::caption() const {
  return captions_.empty() ? std::string() : captions_.back();
}

}  // namespace vigil::testing
