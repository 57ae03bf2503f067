#include "face/item_sorting.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "store/text.h"

namespace vigil {
namespace {

constexpr int kDataColumn = 2;

bool IsDateTime(std::string_view text) {
  return text.size() == 14 && text[2] == '.' && text[5] == '.' &&
         text[11] == ':';
}

bool IsDate(std::string_view text) {
  return text.size() == 8 && text[2] == '.' && text[5] == '.';
}

std::string FieldForColumn(const ItemRow& row, int column) {
  switch (column) {
    case 0:
      return row.label;
    case 1:
      return row.item;
    case 2:
      return row.data;
    case 3:
      return row.unit;
    default:
      return row.color;
  }
}

// Case-insensitive first, then lower case before upper case, as the
// desktop's word sort orders names.
bool KeyLess(const std::string& a, const std::string& b) {
  const std::string lower_a = ToLower(a);
  const std::string lower_b = ToLower(b);
  if (lower_a != lower_b) return lower_a < lower_b;
  return a > b;
}

}  // namespace

std::string SortKey(std::string_view text, int column) {
  std::string key(text);
  if (IsDateTime(text)) {
    key =
        Mid(text, 7, 2) + Mid(text, 4, 2) + Mid(text, 1, 2) + Mid(text, 10, 5);
  }
  if (IsDate(text)) {
    const std::string year = Mid(text, 7, 2);
    key =
        (year > "50" ? "19" : "20") + year + Mid(text, 4, 2) + Mid(text, 1, 2);
  }
  if (column == kDataColumn) {
    const std::string padded = std::string(20, ' ') + std::string(text);
    key = (Trim(text).starts_with("-") ? "-" : "+") +
          padded.substr(padded.size() - 19);
  }
  return key;
}

void SortItems(ItemTable& items, int column, SortState& state) {
  std::vector<ItemRow>& rows = items.rows();
  if (rows.size() >= 2 && rows[rows.size() - 2].label.starts_with("-")) {
    rows.resize(rows.size() - 2);
  }
  std::vector<std::pair<std::string, ItemRow>> keyed;
  keyed.reserve(rows.size());
  for (ItemRow& row : rows) {
    keyed.emplace_back(SortKey(FieldForColumn(row, column), column),
                       std::move(row));
  }
  std::stable_sort(
      keyed.begin(), keyed.end(),
      [](const auto& a, const auto& b) { return KeyLess(a.first, b.first); });
  const bool descending = column == state.last_column && !state.last_descending;
  if (descending) std::reverse(keyed.begin(), keyed.end());
  rows.clear();
  for (auto& entry : keyed) rows.push_back(std::move(entry.second));
  if (!rows.empty()) state.last_descending = descending;
  state.last_column = column;
}

void ApplySortingSetting(ItemTable& items, char sorting, SortState& state) {
  static const std::vector<std::vector<int>> kRuns = {
      {}, {0, 1}, {0, 1, 1}, {0, 2}, {0, 2, 2}, {0}, {0}};
  if (sorting < '0' || sorting > '6') return;
  for (const int column : kRuns[static_cast<size_t>(sorting - '0')]) {
    SortItems(items, column, state);
  }
}

}  // namespace vigil
