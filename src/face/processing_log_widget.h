// "View Logging": the processing table View08 with the result's first text
// line Editxx above it, laid over the listing while the user reads them.
#ifndef VIGIL_FACE_PROCESSING_LOG_WIDGET_H_
#define VIGIL_FACE_PROCESSING_LOG_WIDGET_H_

#include <QRect>
#include <string>

#include "store/processing_states.h"

class QLineEdit;
class QTreeWidget;
class QWidget;

namespace vigil {

class ProcessingLogWidget final {
 public:
  // Both widgets are children of parent, hidden until Show.
  explicit ProcessingLogWidget(QWidget* parent);

  // Places them relative to the listing's geometry and shows them.
  void Show(const ProcessingTable& table, const std::string& first_text_line,
            bool http, const QRect& listing);
  void Hide();
  bool visible() const;

 private:
  QTreeWidget* view08_ = nullptr;
  QLineEdit* editxx_ = nullptr;
};

}  // namespace vigil

#endif  // VIGIL_FACE_PROCESSING_LOG_WIDGET_H_
