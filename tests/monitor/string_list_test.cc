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

TEST(StringListTest, LoadsLfAndCrLfLines) {
  TempDir dir;
  dir.Write("lf.txt", "one\ntwo\n\nfour");
  dir.Write("crlf.txt", "one\r\ntwo\r\n\r\nfour\r\n");
  StringList lf;
  StringList crlf;
  ASSERT_TRUE(lf.LoadFromFile(dir / "lf.txt"));
  ASSERT_TRUE(crlf.LoadFromFile(dir / "crlf.txt"));
  const std::vector<std::string> expected = {"one", "two", "", "four"};
  EXPECT_EQ(lf.lines(), expected);
  EXPECT_EQ(crlf.lines(), expected);
}

TEST(StringListTest, RoundTripKeepsEveryEntry) {
  TempDir dir;
  const StringList saved(
      {"  leading blanks", "trailing  ", "", "\xe4\xf6\xfc"});
  ASSERT_TRUE(saved.SaveToFile(dir / "list.txt"));
  StringList loaded;
  ASSERT_TRUE(loaded.LoadFromFile(dir / "list.txt"));
  EXPECT_EQ(loaded.lines(), saved.lines());
}

TEST(StringListTest, FailedLoadKeepsTheList) {
  TempDir dir;
  StringList list({"kept"});
  EXPECT_FALSE(list.LoadFromFile(dir / "missing.Prf"));
  EXPECT_EQ(list.lines(), std::vector<std::string>{"kept"});
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
  EXPECT_FALSE(list.Delete(3));
  EXPECT_TRUE(list.Replace(0, "A"));
  EXPECT_TRUE(list.Delete(1));
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"A", "c"}));
  EXPECT_EQ(list.Count(), 2u);
}

}  // namespace
}  // namespace vigil
