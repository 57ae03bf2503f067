#include "face/widget_helpers_widget.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

#include "store/text.h"

namespace vigil {

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QFont TextFont(bool bold) {
  QFont font("Arial");
  font.setPointSize(8);
  font.setBold(bold);
  return font;
}

QString ToQString(const std::string& bytes) {
  return QString::fromUtf8(ToDisplayUtf8(bytes));
}

void SetBackground(QWidget* widget, Rgb colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  palette.setColor(QPalette::Base, ToQColor(colour));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = Named(new QLabel(text, parent), name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QTreeWidget* RowTable(QWidget* parent, const char* name,
                      const QStringList& titles) {
  auto* table = Named(new QTreeWidget(parent), name);
  table->setColumnCount(static_cast<int>(titles.size()));
  table->setHeaderLabels(titles);
  table->header()->hide();
  table->setRootIsDecorated(false);
  table->setUniformRowHeights(true);
  table->setIconSize(QSize(16, 16));
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Read-only lists whose rows change every cycle: a click only closes or
  // unzooms, and a highlighted row would read as a state.
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setFont(TextFont());
  return table;
}

}  // namespace vigil
