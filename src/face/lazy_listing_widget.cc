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

namespace {

constexpr int kImageRole = Qt::UserRole;

QTreeWidgetItem* NewRow() {
  auto* entry = new QTreeWidgetItem;
  for (size_t column = 0; column < kItemColumns.size(); ++column) {
    if (kItemColumns[column].right_aligned) {
      entry->setTextAlignment(static_cast<int>(column),
                              Qt::AlignRight | Qt::AlignVCenter);
    }
  }
  entry->setData(0, kImageRole, -1);
  return entry;
}

// Only what changed is set, so that only a changed cell is drawn again.
void ShowRow(QTreeWidgetItem* entry, const ItemRow& row,
             const QColor& font_colour) {
  const QString texts[] = {ToQString(row.label), ToQString(row.item),
                           ToQString(row.data), ToQString(row.unit),
                           ToQString(row.color)};
  for (int column = 0; column < static_cast<int>(std::size(texts)); ++column) {
    if (entry->text(column) != texts[column]) {
      entry->setText(column, texts[column]);
    }
    if (entry->foreground(column).color() != font_colour) {
      entry->setForeground(column, font_colour);
    }
  }
  if (entry->data(0, kImageRole).toInt() != row.image_index) {
    entry->setIcon(0, OrbImage(row.image_index));
    entry->setData(0, kImageRole, row.image_index);
  }
}

}  // namespace

// The rows stay from cycle to cycle and take their new texts in place: a
// table made anew would be laid out and drawn whole every cycle.
void LazyListing::Fill(const ItemTable& items) {
  const int count = static_cast<int>(items.size());
  while (view_->topLevelItemCount() > count) {
    delete view_->takeTopLevelItem(view_->topLevelItemCount() - 1);
  }
  const QColor font_colour = ToQColor(items.font_colour());
  QList<QTreeWidgetItem*> added;
  for (int i = 0; i < count; ++i) {
    QTreeWidgetItem* entry = i < view_->topLevelItemCount()
                                 ? view_->topLevelItem(i)
                                 : added.emplace_back(NewRow());
    ShowRow(entry, items.rows()[static_cast<size_t>(i)], font_colour);
  }
  view_->addTopLevelItems(added);
}

void LazyListing::Colour() {
  SetBackground(view_, colour_);
  SetBackground(view_->viewport(), colour_);
}

}  // namespace vigil
