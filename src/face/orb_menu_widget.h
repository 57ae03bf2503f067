// The context menu: one action per entry of the menu state, named after the
// entry ("Pop02") and showing its small image. The window creates it when
// it is first opened.
#ifndef VIGIL_FACE_ORB_MENU_WIDGET_H_
#define VIGIL_FACE_ORB_MENU_WIDGET_H_

#include <QMenu>
#include <QString>

#include "face/menu_state.h"

namespace vigil {

class OrbMenuWidget final : public QMenu {
  Q_OBJECT

 public:
  OrbMenuWidget(const MenuState& state, QWidget* parent);

  // Shows the captions, images, visibility and enabling the state holds.
  void Bind(const MenuState& state);

 signals:
  // An entry was chosen; name is the entry's ("Pop08").
  void Chosen(const QString& name);
};

}  // namespace vigil

#endif  // VIGIL_FACE_ORB_MENU_WIDGET_H_
