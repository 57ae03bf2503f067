// The strip behind the title above the listing: a pale gradient over a
// teal line, painted at its size rather than kept as a picture.
#ifndef VIGIL_FACE_START_STRIP_WIDGET_H_
#define VIGIL_FACE_START_STRIP_WIDGET_H_

#include <QWidget>

namespace vigil {

class StartStripWidget final : public QWidget {
 public:
  explicit StartStripWidget(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vigil

#endif  // VIGIL_FACE_START_STRIP_WIDGET_H_
