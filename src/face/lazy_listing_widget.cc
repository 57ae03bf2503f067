#include "face/lazy_listing_widget.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "face/orb_image_list_widget.h"
#include "face/widget_helpers_widget.h"

namespace vigil {

LazyListing::LazyListing(QWidget* parent,
                         std::function<void(QTreeWidget*)> made)
    : parent_(parent), made_(std::move(made)) {
  for (const TableColumn& column : kItemColumns) {
    column_widths_.push_back(column.width);
  }
}

void LazyListing::SetGeometry(const QRect& geometry) {
  // A widget holds no negative size, and the place is passed on as held.
  geometry_ = QRect(geometry.topLeft(), geometry.size().expandedTo({0, 0}));
  if (view_) view_->setGeometry(geometry_);
}

void LazyListing::SetColumnWidth(int column, int width) {
  if (column < 0 || static_cast<size_t>(column) >= column_widths_.size()) {
    return;
  }
  column_widths_[static_cast<size_t>(column)] = width;
  if (view_) view_->setColumnWidth(column, width);
}

void LazyListing::ShowItems(const ItemTable& items) {
  if (view_) {
    Fill(items);
  } else {
    items_ = items;
  }
}

void LazyListing::SetColour(Rgb colour) {
  colour_ = colour;
  if (view_) Colour();
}

void LazyListing::SetVisible(bool visible) {
  if (visible) {
    view()->show();
  } else if (view_) {
    view_->hide();
  }
}

bool LazyListing::visible() const { return view_ && !view_->isHidden(); }

QTreeWidget* LazyListing::view() {
  if (view_) return view_;
  QStringList titles;
  for (const TableColumn& column : kItemColumns) {
    titles.append(QString::fromUtf8(column.title.data(),
                                    static_cast<int>(column.title.size())));
  }
  view_ = RowTable(parent_, "View07", titles);
  view_->hide();
  view_->header()->setStretchLastSection(false);
  for (size_t i = 0; i < column_widths_.size(); ++i) {
    view_->setColumnWidth(static_cast<int>(i), column_widths_[i]);
  }
  view_->setFrameShape(QFrame::NoFrame);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setGeometry(geometry_);
  Colour();
  Fill(items_);
  items_ = ItemTable();
  made_(view_);
  return view_;
}

void LazyListing::Fill(const ItemTable& items) {
  view_->clear();
  const QColor font_colour = ToQColor(items.font_colour());
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(items.size()));
  for (const ItemRow& row : items.rows()) {
    auto* entry = new QTreeWidgetItem(QStringList{
        ToQString(row.label), ToQString(row.item), ToQString(row.data),
        ToQString(row.unit), ToQString(row.color)});
    entry->setIcon(0, OrbImage(row.image_index));
    for (size_t column = 0; column < kItemColumns.size(); ++column) {
      entry->setForeground(static_cast<int>(column), font_colour);
      if (kItemColumns[column].right_aligned) {
        entry->setTextAlignment(static_cast<int>(column),
                                Qt::AlignRight | Qt::AlignVCenter);
      }
    }
    rows.append(entry);
  }
  view_->addTopLevelItems(rows);
}

void LazyListing::Colour() {
  SetBackground(view_, colour_);
  SetBackground(view_->viewport(), colour_);
}

}  // namespace vigil
