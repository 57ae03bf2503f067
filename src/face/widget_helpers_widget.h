// Small bridges between the core's plain data and Qt widgets, shared by
// the window and the face.
#ifndef VIGIL_FACE_WIDGET_HELPERS_WIDGET_H_
#define VIGIL_FACE_WIDGET_HELPERS_WIDGET_H_

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

#include "store/colour.h"

class QTreeWidget;

namespace vigil {

QColor ToQColor(Rgb colour);

// The one font of the orb's small text: the header, the listing, the chart
// legend and the start-up line. One size for the role, so that an orb
// keeps one font engine for it.
QFont TextFont(bool bold = false);

// Bytes as UTF-8 when they are valid UTF-8, else as Latin-1.
QString ToQString(const std::string& bytes);

// An opaque background in the colour (Window and Base roles).
void SetBackground(QWidget* widget, Rgb colour);

// Gives the widget its system name, so that tests find it with findChild.
template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// A named label that shows its text as it is: item names and captions come
// from sensors and servers, and markup in them must not be rendered (nor
// make the label keep a text document).
QLabel* PlainLabel(QWidget* parent, const char* name,
                   const QString& text = QString());

// A named, read-only table of rows without a visible header, in the
// listings' 8-point Arial, with 16-pixel icons and no horizontal scroll
// bar: the item listing and the processing log.
QTreeWidget* RowTable(QWidget* parent, const char* name,
                      const QStringList& titles);

}  // namespace vigil

#endif  // VIGIL_FACE_WIDGET_HELPERS_WIDGET_H_
