#include "monitor/item_table.h"

#include <gtest/gtest.h>

#include "store/orb_values.h"

namespace vigil {
namespace {

TEST(ItemTableTest, FieldsByColumnIndexFollowTheListingColumns) {
  ItemRow row{"01:", "Load", "12", "%", "clLime", 7};
  for (size_t column = 0; column < 5; ++column) {
    SCOPED_TRACE(kItemColumns[column].title);
    const auto field = static_cast<ItemField>(column);
    const std::string title(kItemColumns[column].title);
    const std::string expected = title == "~"      ? row.label
                                 : title == "Item" ? row.item
                                 : title == "Data" ? row.data
                                 : title == "Unit" ? row.unit
                                                   : row.color;
    EXPECT_EQ(Field(row, field), expected);
    Field(row, field) = "changed";
    EXPECT_EQ(Field(static_cast<const ItemRow&>(row), field), "changed");
  }
  // Only the Data column is right-aligned: the sort treats it as numbers.
  for (const TableColumn& column : kItemColumns) {
    EXPECT_EQ(column.right_aligned, column.title == "Data") << column.title;
  }
}

TEST(ItemTableTest, RowsBeyondTheEndAreAbsent) {
  ItemTable table;
  EXPECT_EQ(table.RowAt(0), nullptr);
  table.Append({"01:", "A", "1", "#", ".", 0});
  table.Append({"02:", "B", "2", "#", ".", 0});
  ASSERT_NE(table.RowAt(1), nullptr);
  EXPECT_EQ(table.RowAt(1)->item, "B");
  EXPECT_EQ(table.RowAt(2), nullptr);
  EXPECT_EQ(table.RowAt(static_cast<size_t>(-1)), nullptr);
}

TEST(OrbValuesTest, NumberFormatFollowsTheMode) {
  EXPECT_EQ(InitialOrbValues("RfcOrb").number_format, 'D');
  EXPECT_EQ(InitialOrbValues("HttpOrb").number_format, 'E');
  EXPECT_EQ(InitialOrbValues("AuxOrb").number_format, 'E');
}

}  // namespace
}  // namespace vigil
