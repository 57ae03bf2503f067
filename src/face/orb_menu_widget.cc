#include "face/orb_menu_widget.h"

#include <QAction>

#include "face/orb_image_list_widget.h"
#include "face/widget_helpers_widget.h"

namespace vigil {

OrbMenuWidget::OrbMenuWidget(const MenuState& state, QWidget* parent)
    : QMenu(parent) {
  setObjectName("Popup");
  for (const MenuEntry& entry : state.entries()) {
    QAction* action = entry.separator() ? addSeparator() : addAction(QString());
    action->setObjectName(QString::fromStdString(entry.name));
    if (entry.separator()) continue;
    const QString name = action->objectName();
    connect(action, &QAction::triggered, this,
            [this, name] { emit Chosen(name); });
  }
  Bind(state);
}

void OrbMenuWidget::Bind(const MenuState& state) {
  const QList<QAction*> entries = actions();
  for (const MenuEntry& entry : state.entries()) {
    for (QAction* action : entries) {
      if (action->objectName() != QString::fromStdString(entry.name)) continue;
      action->setVisible(entry.visible);
      if (entry.separator()) break;
      action->setText(ToQString(entry.caption));
      action->setIcon(OrbImage(entry.image));
      action->setEnabled(entry.enabled);
      break;
    }
  }
}

}  // namespace vigil
