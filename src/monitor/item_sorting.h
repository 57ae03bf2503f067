// Reorders the item table by one column; a second sort by the same column
// reverses the order. Chart, gauge and rules address rows by index, so they
// see the sorted order.
#ifndef VIGIL_MONITOR_ITEM_SORTING_H_
#define VIGIL_MONITOR_ITEM_SORTING_H_

#include <string>
#include <string_view>

#include "monitor/item_table.h"

namespace vigil {

// Sort columns: 0 the row label, 1 Item, 2 Data, 3 Unit, 4 Color.
struct SortState {
  int last_column = 0;
  bool last_descending = false;
};

// The text the rows are ordered by: dates and time stamps as year first,
// Data values right-aligned with their sign in front.
std::string SortKey(std::string_view text, int column);

// SortClick. Two footer rows (the second-to-last label begins with "-")
// take no part and are dropped. Data sorts as numbers (the row's number,
// read with number_format), numbers before texts.
void SortItems(ItemTable& items, int column, SortState& state,
               char number_format);

// The sorting setting of column 50 ('0' none ... '6'), as the cycle
// applies it after every refill of the table. The colour sorts order by
// the Color field in a fixed direction, equal colours in reading order, so
// that the listing stays as it is from one cycle to the next.
void ApplySortingSetting(ItemTable& items, char sorting, SortState& state,
                         char number_format);

}  // namespace vigil

#endif  // VIGIL_MONITOR_ITEM_SORTING_H_
