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

// The desktop's word sort, as the listing's scratch table compared its
// captions: hyphens and apostrophes count only when all else is equal;
// blanks come before other signs, signs before digits, digits before
// letters, letters regardless of case; between texts that differ only in
// case the lower case comes first.
bool IgnoredInWordSort(char c) { return c == '-' || c == '\''; }

int WordSortClass(unsigned char c) {
  if (c <= ' ') return 0;
  if (c >= 0x80) return 4;
  if (std::isdigit(c)) return 2;
  if (std::isalpha(c)) return 3;
  return 1;
}

// Negative, zero or positive as a sorts before, with or after b, at the
// first level (case and hyphens aside).
int CompareWords(const std::string& a, const std::string& b) {
  size_t i = 0;
  size_t j = 0;
  for (;;) {
    while (i < a.size() && IgnoredInWordSort(a[i])) ++i;
    while (j < b.size() && IgnoredInWordSort(b[j])) ++j;
    if (i == a.size() || j == b.size()) {
      return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
    }
    const auto x = static_cast<unsigned char>(a[i++]);
    const auto y = static_cast<unsigned char>(b[j++]);
    const int x_class = WordSortClass(x);
    const int y_class = WordSortClass(y);
    if (x_class != y_class) return x_class - y_class;
    const int x_folded = std::tolower(x);
    const int y_folded = std::tolower(y);
    if (x_folded != y_folded) return x_folded - y_folded;
  }
}

std::string WithoutIgnored(const std::string& text) {
  std::string kept;
  for (const char c : text) {
    if (!IgnoredInWordSort(c)) kept += c;
  }
  return kept;
}

bool KeyLess(const std::string& a, const std::string& b) {
  if (const int order = CompareWords(a, b); order != 0) return order < 0;
  // Equal but for case or hyphens: lower case first, then the text without
  // hyphens, then plain bytes.
  const std::string plain_a = WithoutIgnored(a);
  const std::string plain_b = WithoutIgnored(b);
  for (size_t i = 0; i < plain_a.size(); ++i) {
    if (plain_a[i] != plain_b[i]) {
      return std::islower(static_cast<unsigned char>(plain_a[i])) != 0;
    }
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
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
