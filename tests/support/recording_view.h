// An OrbView that records what the core asked of the window.
#ifndef VIGIL_TESTS_SUPPORT_RECORDING_VIEW_H_
#define VIGIL_TESTS_SUPPORT_RECORDING_VIEW_H_

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "store/orb_view.h"

namespace vigil::testing {

class RecordingView : public OrbView {
 public:
  using EventsHook = std::function<void(std::chrono::milliseconds)>;

  void SetStatusCaption(const std::string& caption) override;
  void SetFrameColour(Rgb colour) override;
  void ShowError(const std::string& message) override;
  void RefreshFace() override;
  void ShowErrorPanel(const std::string& message) override {
    panel_messages_.push_back(message);
    panel_shown_ = true;
  }
  void HideErrorPanel() override { panel_shown_ = false; }
  void SetBusyCursor(bool busy) override { busy_ = busy; }
  void ShowMessageBox(const std::string& text) override {
    message_boxes_.push_back(text);
  }
  // Records the request and runs the hook instead of waiting, so that a
  // test decides what happens while the core lets events run.
  void LetEventsRun(std::chrono::milliseconds duration) override;

  void set_on_let_events_run(EventsHook hook) { hook_ = std::move(hook); }
  bool IsClosing() const override { return closing_; }
  void set_closing(bool closing) { closing_ = closing; }

  const std::vector<std::string>& captions() const { return captions_; }
  const std::vector<Rgb>& frame_colours() const { return frame_colours_; }
  const std::vector<std::string>& errors() const { return errors_; }
  int refresh_count() const { return refresh_count_; }
  const std::vector<std::string>& panel_messages() const {
    return panel_messages_;
  }
  bool panel_shown() const { return panel_shown_; }
  bool busy() const { return busy_; }
  const std::vector<std::string>& message_boxes() const {
    return message_boxes_;
  }
  const std::vector<std::chrono::milliseconds>& event_runs() const {
    return event_runs_;
  }
  // The caption shown now; empty before any.
  std::string caption() const;

 private:
  std::vector<std::string> captions_;
  std::vector<Rgb> frame_colours_;
  std::vector<std::string> errors_;
  std::vector<std::string> message_boxes_;
  std::vector<std::string> panel_messages_;
  bool panel_shown_ = false;
  bool busy_ = false;
  bool closing_ = false;
  int refresh_count_ = 0;
  std::vector<std::chrono::milliseconds> event_runs_;
  EventsHook hook_;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_RECORDING_VIEW_H_
