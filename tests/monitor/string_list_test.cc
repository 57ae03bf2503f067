#include "monitor/string_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::TempDir;

TEST(StringListTest, SavingAnEmptyListMakesAnEmptyFile) {
  TempDir dir;
  StringList list;
  list.Append("stale");
  list.Clear();
  ASSERT_TRUE(list.SaveToFile(dir / "DIALOG.Lck"));
  EXPECT_TRUE(dir.Exists("DIALOG.Lck"));
  EXPECT_EQ(dir.Read("DIALOG.Lck"), "");
}

TEST(StringListTest, SavesCrLfAndReplacesTheFile) {
  TempDir dir;
  dir.Write("RfcOrb0102.Prf", "a much longer old content\r\nthat must go\r\n");
  const StringList list({"* KEY  value", "", "last"});
  ASSERT_TRUE(list.SaveToFile(dir / "RfcOrb0102.Prf"));
  EXPECT_EQ(dir.Read("RfcOrb0102.Prf"), "* KEY  value\r\n\r\nlast\r\n");
}

TEST(StringListTest, FailedSaveIsReported) {
  TempDir dir;
  dir.Write("plain-file", "x");
  EXPECT_FALSE(StringList({"a"}).SaveToFile(dir / "plain-file" / "list.txt"));
  EXPECT_FALSE(StringList().SaveToFile(dir / "missing" / "DIALOG.Lck"));
}

TEST(StringListTest, IndexesBeyondTheEndChangeNothing) {
  StringList list({"a", "b", "c"});
  EXPECT_EQ(list.Get(1), "b");
  EXPECT_EQ(list.Get(3), "");
  EXPECT_FALSE(list.Replace(3, "x"));
  EXPECT_TRUE(list.Replace(0, "A"));
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"A", "b", "c"}));
}

}  // namespace
}  // namespace vigil
