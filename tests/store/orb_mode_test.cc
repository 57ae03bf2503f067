#include "store/orb_mode.h"

#include <gtest/gtest.h>

namespace vigil {
namespace {

// Only the exact words name a mode; anything else falls back to the mode
// that needs nothing of its own.
TEST(OrbModeTest, OnlyTheExactWordsNameAMode) {
  for (const OrbMode& mode : kOrbModes) {
    EXPECT_EQ(FindOrbMode(mode.word), &mode);
  }
  for (const std::string_view word : {"rfcorb", "HttpOrbs", "", "Orb"}) {
    EXPECT_EQ(FindOrbMode(word), nullptr) << word;
    EXPECT_EQ(OrbModeOf(word).word, "AuxOrb") << word;
  }
}

}  // namespace
}  // namespace vigil
