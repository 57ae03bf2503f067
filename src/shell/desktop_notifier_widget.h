// Sends notices to the freedesktop notification service on the session
// bus. Made only for an orb whose header asks for notices, since the bus
// connection costs memory on every orb of a wall.
#ifndef VIGIL_SHELL_DESKTOP_NOTIFIER_WIDGET_H_
#define VIGIL_SHELL_DESKTOP_NOTIFIER_WIDGET_H_

#include <QObject>
#include <QString>

#include "shell/desktop_notice.h"

namespace vigil {

class DesktopNotifier final : public QObject {
  Q_OBJECT

 public:
  explicit DesktopNotifier(QObject* parent = nullptr) : QObject(parent) {}

  // Does not wait for the service: an orb without one goes on unhindered.
  // The orb's next notice replaces its last one on the screen.
  void Send(const DesktopNotice& notice);

 private:
  uint last_id_ = 0;
};

}  // namespace vigil

#endif  // VIGIL_SHELL_DESKTOP_NOTIFIER_WIDGET_H_
