#include "monitor/item_sorting.h"

#include <gtest/gtest.h>

#include "store/value_parser.h"

namespace vigil {
namespace {

ItemTable Table(const std::vector<std::pair<std::string, std::string>>& rows) {
  ItemTable table;
  int n = 1;
  for (const auto& [item, data] : rows) {
    ItemRow row;
    row.label = (n < 10 ? "0" : "") + std::to_string(n) + ":";
    ++n;
    row.item = item;
    row.data = data;
    table.Append(row);
  }
  return table;
}

std::vector<std::string> Items(const ItemTable& table) {
  std::vector<std::string> items;
  for (const ItemRow& row : table.rows()) items.push_back(row.item);
  return items;
}

TEST(SortKeyTest, DatesTimesAndNumbers) {
  struct Case {
    const char* text;
    int column;
    std::string key;
  } cases[] = {
      {"12", 2, "+" + std::string(17, ' ') + "12"},
      {"-3", 2, "-" + std::string(17, ' ') + "-3"},
      {"7.5", 2, "+" + std::string(16, ' ') + "7.5"},
      {"123456789012345678901234", 2, "+6789012345678901234"},
      {"31.12.99", 1, "19991231"},
      {"01.01.05", 1, "20050101"},
      {"01.02.24 10:15", 1, "24020110:15"},
      {"plain", 1, "plain"},
      {"12", 0, "12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SortKey(c.text, c.column), c.key) << c.text;
  }
}

TEST(SortItemsTest, SecondSortBySameColumnReverses) {
  ItemTable table = Table({{"beta", "1"}, {"Alpha", "2"}, {"gamma", "3"}});
  SortState state{5, false};
  SortItems(table, 1, state, kNumberFormatE);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  SortItems(table, 1, state, kNumberFormatE);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"gamma", "beta", "Alpha"}));
  // Another column starts ascending whatever came before.
  SortItems(table, 2, state, kNumberFormatE);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"beta", "Alpha", "gamma"}));
}

// Data by the number, in the mode's number format; texts after numbers.
TEST(SortItemsTest, ValuesSortAsNumbers) {
  struct Case {
    char format;
    std::vector<std::string> data;
    std::vector<std::string> ascending;
  } cases[] = {
      {kNumberFormatE,
       {".08", "1.8", "1.38", "19.1", "-3", "12", "40", "100", "7.5"},
       {"-3", ".08", "1.38", "1.8", "7.5", "12", "19.1", "40", "100"}},
      {kNumberFormatE,
       {"1,234.5", "n/a", "-0.5", "999", "-1,000", "down"},
       // Texts keep the right-aligned order of their key.
       {"-1,000", "-0.5", "999", "1,234.5", "n/a", "down"}},
      {kNumberFormatD, {"1.234", "5", "-2", "12"}, {"-2", "5", "12", "1.234"}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const std::string& data : c.data) rows.push_back({data, data});
    ItemTable table = Table(rows);
    SortState state{0, false};
    SortItems(table, 2, state, c.format);
    EXPECT_EQ(Items(table), c.ascending) << c.format;
  }
  // The number the reader kept counts, not the text shown.
  ItemTable table = Table({{"big", "1 GB"}, {"small", "900 MB"}});
  table[0].value = 1e9;
  table[1].value = 9e8;
  SortState state{0, false};
  SortItems(table, 2, state, kNumberFormatE);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"small", "big"}));
}

// The word sort: signs before digits before letters, case only between
// otherwise equal names, lower case first, and hyphens after case.
TEST(SortItemsTest, NamesAndSignedValuesInWordSortOrder) {
  struct Case {
    int column;
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<std::string> ascending;
  } cases[] = {
      {1,
       {{"co-op", ""},
        {"Coop", ""},
        {"coop", ""},
        {"cop", ""},
        {"_x", ""},
        {"9x", ""},
        {"Zed", ""}},
       {"_x", "9x", "coop", "co-op", "Coop", "cop", "Zed"}},
  };
  for (const Case& c : cases) {
    ItemTable table = Table(c.rows);
    SortState state{0, false};
    SortItems(table, c.column, state, kNumberFormatE);
    EXPECT_EQ(Items(table), c.ascending) << c.column;
  }
}

TEST(SortItemsTest, FooterRowsAreDroppedAndEmptyTablesKeepTheDirection) {
  ItemTable table = Table({{"x", "1"}, {"y", "2"}, {"z", "3"}});
  table[1].label = "--";
  SortState state{1, false};
  SortItems(table, 1, state, kNumberFormatE);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"x"}));

  ItemTable empty;
  SortState unchanged{1, false};
  SortItems(empty, 1, unchanged, kNumberFormatE);
  EXPECT_FALSE(unchanged.last_descending);
  EXPECT_EQ(unchanged.last_column, 1);
}

// Each setting as a cycle applies it to a table refilled in reading
// order, twice: the second cycle must show what the first showed.
TEST(SortingSettingTest, EachSettingGivesItsOrderOnEveryCycle) {
  struct Case {
    char setting;
    std::vector<std::string> expected;
  } cases[] = {
      {'0', {"m", "a", "z", "b"}}, {'1', {"a", "b", "m", "z"}},
      {'2', {"z", "m", "b", "a"}}, {'3', {"a", "z", "m", "b"}},
      {'4', {"b", "m", "z", "a"}}, {'5', {"a", "b", "m", "z"}},
      {'6', {"m", "z", "a", "b"}}, {'9', {"m", "a", "z", "b"}},
  };
  for (const Case& c : cases) {
    SortState state;
    for (int cycle = 0; cycle < 2; ++cycle) {
      ItemTable table =
          Table({{"m", "30"}, {"a", "5"}, {"z", "10"}, {"b", "200"}});
      // Colours: m and z red ("3"), a and b green ("0").
      for (ItemRow& row : table.rows()) {
        row.color = row.item == "m" || row.item == "z" ? "3" : "0";
      }
      ApplySortingSetting(table, c.setting, state, kNumberFormatE);
      EXPECT_EQ(Items(table), c.expected) << c.setting << " cycle " << cycle;
    }
  }
}

}  // namespace
}  // namespace vigil
