// The listing of the item table (View07), made when it is first shown: a
// chart or gauge orb never shows it, and a tree view with its font and
// header costs a few hundred kilobytes an orb. Until then it keeps what it
// would show: its place, column widths, rows and colour.
#ifndef VIGIL_FACE_LAZY_LISTING_WIDGET_H_
#define VIGIL_FACE_LAZY_LISTING_WIDGET_H_

#include <QRect>
#include <functional>
#include <vector>

#include "monitor/item_table.h"
#include "store/colour.h"

class QTreeWidget;
class QWidget;

namespace vigil {

class LazyListing final {
 public:
  // made: called once with the new view, to connect it.
  LazyListing(QWidget* parent, std::function<void(QTreeWidget*)> made);

  void SetGeometry(const QRect& geometry);
  const QRect& geometry() const { return geometry_; }
  void SetColumnWidth(int column, int width);
  void ShowItems(const ItemTable& items);
  void SetColour(Rgb colour);
  void SetVisible(bool visible);
  bool visible() const;
  // The view, made if it was not yet.
  QTreeWidget* view();

 private:
  void Fill(const ItemTable& items);
  void Colour();

  QWidget* parent_;
  std::function<void(QTreeWidget*)> made_;
  QTreeWidget* view_ = nullptr;
  QRect geometry_{4, 36, 161, 49};
  std::vector<int> column_widths_;
  ItemTable items_;  // kept only until the view is made
  Rgb colour_ = kNeutral;
};

}  // namespace vigil

#endif  // VIGIL_FACE_LAZY_LISTING_WIDGET_H_
