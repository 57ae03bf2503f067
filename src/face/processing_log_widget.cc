#include "face/processing_log_widget.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <algorithm>

#include "face/orb_image_list_widget.h"
#include "face/widget_helpers_widget.h"

namespace vigil {
namespace {

// Column widths of View08 for its width: the caption as wide as its widest
// text needs (at least 64 pixels, at most half the view), the rest shared
// 60:30 (65:25 in the HttpOrb mode).
struct ProcessingColumns {
  int caption = 64;
  int description = 0;
  int state = 0;
};

constexpr int kLeastCaptionWidth = 64;
constexpr int kRestMargin = 22;  // the frame and the scroll bar's room

ProcessingColumns ProcessingColumnsFor(int view_width, int caption_needs,
                                       bool http) {
  ProcessingColumns columns;
  columns.caption = std::clamp(caption_needs, kLeastCaptionWidth,
                               std::max(view_width / 2, kLeastCaptionWidth));
  const int shared = (view_width - columns.caption - kRestMargin) * 100;
  columns.description = shared * (http ? 65 : 60) / 10000;
  columns.state = shared * (http ? 25 : 30) / 10000;
  return columns;
}

}  // namespace

ProcessingLogWidget::ProcessingLogWidget(QWidget* parent) {
  view08_ = RowTable(parent, "View08", {"~", "Item", "Unit"});
  view08_->hide();
  editxx_ = Named(new QLineEdit(parent), "Editxx");
  editxx_->setReadOnly(true);
  editxx_->setFont(view08_->font());
  editxx_->hide();
}

void ProcessingLogWidget::Show(const ProcessingTable& table,
                               const std::string& first_text_line, bool http,
                               const QRect& listing) {
  view08_->setGeometry(listing.left(), listing.top() + 22, listing.width(),
                       listing.height() - 22);
  editxx_->setGeometry(view08_->x() + 2, listing.top(), listing.width() - 4,
                       20);
  view08_->clear();
  for (const ProcessingRow& row : table) {
    auto* entry = new QTreeWidgetItem(
        view08_, QStringList{ToQString(row.caption), ToQString(row.description),
                             ToQString(row.state)});
    entry->setIcon(0, OrbImage(row.image_index));
  }
  // Measured with the rows' icons and the list's font: a caption reads
  // whole.
  view08_->resizeColumnToContents(0);
  const ProcessingColumns columns =
      ProcessingColumnsFor(view08_->width(), view08_->columnWidth(0), http);
  view08_->setColumnWidth(0, columns.caption);
  view08_->setColumnWidth(1, columns.description);
  view08_->setColumnWidth(2, columns.state);
  editxx_->setText(ToQString(first_text_line));
  editxx_->setCursorPosition(0);  // the start of a long line
  view08_->show();
  view08_->raise();
  editxx_->show();
  editxx_->raise();
}

void ProcessingLogWidget::Hide() {
  view08_->hide();
  editxx_->hide();
}

bool ProcessingLogWidget::visible() const { return !view08_->isHidden(); }

}  // namespace vigil
