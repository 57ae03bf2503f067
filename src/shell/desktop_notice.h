// When an orb tells the desktop's notification service about itself: it
// turned red, or it lost its data. A wall's operator may be looking at
// another screen.
#ifndef VIGIL_SHELL_DESKTOP_NOTICE_H_
#define VIGIL_SHELL_DESKTOP_NOTICE_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil {

struct DesktopNotice {
  std::string summary;
  std::string body;
  bool critical = false;  // red: the service may keep it until dismissed
};

struct NoticeInputs {
  int state_code = 0;  // after the cycle
  bool state_changed = false;
  std::string_view mode_word;
  std::string_view number;  // "0203"
  std::string_view title;   // the orb title
  std::string_view detail;  // the no-data message
};

// nullopt unless this cycle changed the state to red or to no data.
std::optional<DesktopNotice> DesktopNoticeFor(const NoticeInputs& inputs);

}  // namespace vigil

#endif  // VIGIL_SHELL_DESKTOP_NOTICE_H_
