#include "shell/desktop_notice.h"

#include <gtest/gtest.h>

#include "store/orb_values.h"

namespace vigil {
namespace {

TEST(DesktopNoticeTest, OnlyATurnToRedOrToNoDataIsNews) {
  struct Case {
    int state_code;
    bool changed;
    std::optional<std::string> summary;
  } cases[] = {
      {state_code::kRed, true, "Disks (AuxOrb 02/03) is red"},
      {state_code::kNoData, true, "Disks (AuxOrb 02/03) has no data"},
      {state_code::kRed, false, std::nullopt},
      {state_code::kYellow, true, std::nullopt},
      {state_code::kGreen, true, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto notice = DesktopNoticeFor(
        {c.state_code, c.changed, "AuxOrb", "0203", "Disks", "No Data"});
    EXPECT_EQ(notice ? std::optional(notice->summary) : std::nullopt, c.summary)
        << c.state_code;
    if (notice) {
      EXPECT_EQ(notice->critical, c.state_code == state_code::kRed);
    }
  }
}

}  // namespace
}  // namespace vigil
