#include "monitor/item_sorting.h"

#include <algorithm>
#include <cctype>
#include <optional>
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

constexpr int kColorColumn = 4;

struct KeyedRow {
  std::string key;
  std::optional<double> number;  // Data only
  ItemRow row;
};

// Numbers by value before texts by their key.
bool KeyedLess(const KeyedRow& a, const KeyedRow& b) {
  if (a.number && b.number) return *a.number < *b.number;
  if (a.number || b.number) return a.number.has_value();
  return KeyLess(a.key, b.key);
}

void DropFooterRows(std::vector<ItemRow>& rows) {
  if (rows.size() >= 2 && rows[rows.size() - 2].label.starts_with("-")) {
    rows.resize(rows.size() - 2);
  }
}

// Stable: rows of equal keys keep their order in either direction.
void SortRows(std::vector<ItemRow>& rows, int column, bool descending,
              char number_format) {
  std::vector<KeyedRow> keyed;
  keyed.reserve(rows.size());
  for (ItemRow& row : rows) {
    KeyedRow entry{SortKey(FieldForColumn(row, column), column), std::nullopt,
                   std::move(row)};
    if (column == kDataColumn) {
      entry.number = ItemNumber(entry.row, number_format);
    }
    keyed.push_back(std::move(entry));
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [descending](const KeyedRow& a, const KeyedRow& b) {
                     return descending ? KeyedLess(b, a) : KeyedLess(a, b);
                   });
  rows.clear();
  for (KeyedRow& entry : keyed) rows.push_back(std::move(entry.row));
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

void SortItems(ItemTable& items, int column, SortState& state,
               char number_format) {
  std::vector<ItemRow>& rows = items.rows();
  DropFooterRows(rows);
  const bool descending = column == state.last_column && !state.last_descending;
  // Descending is the ascending order turned over, ties included.
  SortRows(rows, column, false, number_format);
  if (descending) std::reverse(rows.begin(), rows.end());
  if (!rows.empty()) state.last_descending = descending;
  state.last_column = column;
}

void ApplySortingSetting(ItemTable& items, char sorting, SortState& state,
                         char number_format) {
  static const std::vector<std::vector<int>> kRuns = {
      {}, {0, 1}, {0, 1, 1}, {0, 2}, {0, 2, 2}};
  if (sorting == '5' || sorting == '6') {
    DropFooterRows(items.rows());
    SortRows(items.rows(), kColorColumn, sorting == '6', number_format);
    state.last_column = kColorColumn;
    state.last_descending = sorting == '6';
    return;
  }
  if (sorting < '0' || sorting > '4') return;
  for (const int column : kRuns[static_cast<size_t>(sorting - '0')]) {
    SortItems(items, column, state, number_format);
  }
}

}  // namespace vigil
