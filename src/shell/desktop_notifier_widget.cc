#include "shell/desktop_notifier_widget.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include "face/widget_helpers_widget.h"

namespace vigil {
namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
constexpr int kExpireDefault = -1;
constexpr uchar kNormalUrgency = 1;
constexpr uchar kCriticalUrgency = 2;

}  // namespace

void DesktopNotifier::Send(const DesktopNotice& notice) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
  QVariantMap hints;
  hints["urgency"] = QVariant::fromValue<uchar>(
      notice.critical ? kCriticalUrgency : kNormalUrgency);
  call << QStringLiteral("Vigil Panel") << last_id_ << QString()
       << ToQString(notice.summary) << ToQString(notice.body) << QStringList()
       << hints << kExpireDefault;
  const QDBusPendingCall pending =
      QDBusConnection::sessionBus().asyncCall(call);
  auto* watcher = new QDBusPendingCallWatcher(pending, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this](QDBusPendingCallWatcher* done) {
            const QDBusPendingReply<uint> reply = *done;
            if (reply.isValid()) last_id_ = reply.value();
            done->deleteLater();
          });
}

}  // namespace vigil
