#include "face/chart_kind.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vigil {
namespace {

// A kind added to the table must be told apart in the dialog and by vigil;
// a number outside the table draws as the first kind.
TEST(ChartKindTest, NamesAreUniqueAndStrayNumbersDrawBars) {
  std::set<std::string> captions;
  std::set<std::string_view> words;
  for (const ChartKind& kind : kChartKindTable) {
    EXPECT_TRUE(captions.insert(kind.caption).second) << kind.caption;
    EXPECT_TRUE(words.insert(kind.word).second) << kind.word;
  }
  EXPECT_EQ(&ChartKindAt(-1), &kChartKindTable[0]);
  EXPECT_EQ(&ChartKindAt(kChartKinds), &kChartKindTable[0]);
  EXPECT_TRUE(ChartKindAt(7).pie);
}

}  // namespace
}  // namespace vigil
