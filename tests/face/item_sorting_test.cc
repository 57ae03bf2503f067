#include "face/item_sorting.h"

#include <gtest/gtest.h>

namespace vigil {
namespace {

ItemTable Table(const std::vector<std::pair<std::string, std::string>>& rows) {
  ItemTable table;
  int n = 1;
  for (const auto& [item, data] : rows) {
    ItemRow row;
    row.label = (n < 10 ? "0" : "") + std::to_string(n++) + ":";
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
  SortItems(table, 1, state);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  SortItems(table, 1, state);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"gamma", "beta", "Alpha"}));
  // Another column starts ascending whatever came before.
  SortItems(table, 2, state);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"beta", "Alpha", "gamma"}));
}

TEST(SortItemsTest, DataKeysPutAShortDecimalAfterLongerIntegers) {
  ItemTable table = Table({{"a", "7.5"}, {"b", "12"}, {"c", "3"}});
  SortState state{1, false};
  SortItems(table, 2, state);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"c", "b", "a"}));
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
      // A minus sign counts last, so negative values, whose keys begin
      // with blanks then, come before positive ones.
      {2,
       {{"p", "12"}, {"n", "-3"}, {"d", "7.5"}, {"m", "-30"}},
       {"n", "m", "p", "d"}},
  };
  for (const Case& c : cases) {
    ItemTable table = Table(c.rows);
    SortState state{0, false};
    SortItems(table, c.column, state);
    std::vector<std::string> items = Items(table);
    if (c.column == 2) {
      for (std::string& item : items) item = item.substr(0, 1);
    }
    EXPECT_EQ(items, c.ascending) << c.column;
  }
}

TEST(SortItemsTest, FooterRowsAreDroppedAndEmptyTablesKeepTheDirection) {
  ItemTable table = Table({{"x", "1"}, {"y", "2"}, {"z", "3"}});
  table[1].label = "--";
  SortState state{1, false};
  SortItems(table, 1, state);
  EXPECT_EQ(Items(table), (std::vector<std::string>{"x"}));

  ItemTable empty;
  SortState unchanged{1, false};
  SortItems(empty, 1, unchanged);
  EXPECT_FALSE(unchanged.last_descending);
  EXPECT_EQ(unchanged.last_column, 1);
}

TEST(SortingSettingTest, EachSettingGivesItsOrder) {
  struct Case {
    char setting;
    std::vector<std::string> expected;
  } cases[] = {
      {'0', {"m", "a", "z"}}, {'1', {"a", "m", "z"}}, {'2', {"z", "m", "a"}},
      {'3', {"a", "z", "m"}}, {'4', {"m", "z", "a"}}, {'9', {"m", "a", "z"}},
  };
  for (const Case& c : cases) {
    ItemTable table = Table({{"m", "30"}, {"a", "5"}, {"z", "10"}});
    SortState state;
    ApplySortingSetting(table, c.setting, state);
    EXPECT_EQ(Items(table), c.expected) << c.setting;
  }
}

}  // namespace
}  // namespace vigil
