// What the core asks of the orb window; tests use a recording fake.
#ifndef VIGIL_STORE_ORB_VIEW_H_
#define VIGIL_STORE_ORB_VIEW_H_

#include <chrono>
#include <string>

#include "store/colour.h"

namespace vigil {

class OrbView {
 public:
  virtual ~OrbView() = default;
  virtual void SetStatusCaption(const std::string& caption) = 0;  // xCap03
  virtual void SetFrameColour(Rgb colour) = 0;
  // The error panel Panel2 with Label5; starts the error timer Timer4,
  // which ends the orb.
  virtual void ShowError(const std::string& message) = 0;
  // The error panel without the error timer (a cycle without data).
  virtual void ShowErrorPanel(const std::string& message) = 0;
  virtual void HideErrorPanel() = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void RefreshFace() = 0;
  // A modal message box; returns when the user has closed it.
  virtual void ShowMessageBox(const std::string& text) = 0;
  // Runs pending window events for about this long (a nested event loop).
  virtual void LetEventsRun(std::chrono::milliseconds duration) = 0;
  // True once the window is closing (a command that ran while events ran
  // ended the orb); a wait must then give up.
  virtual bool IsClosing() const = 0;
};

}  // namespace vigil

#endif  // VIGIL_STORE_ORB_VIEW_H_
