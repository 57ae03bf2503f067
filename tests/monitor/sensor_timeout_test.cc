#include "monitor/sensor_timeout.h"

#include <gtest/gtest.h>

namespace vigil {
namespace {

TEST(SensorTimeoutTest, TheLastLineCountsAndOnlyWholeSeconds) {
  struct Case {
    std::vector<std::string> lines;
    int limit;  // 0: none
    bool problem;
  } cases[] = {
      {{"* Key.............: v"}, 0, false},
      {{"* Sensor-Timeout..: 60"}, 60, false},
      {{"* Sensor-Timeout..: 5", "* Sensor-Timeout..:  9 "}, 9, false},
      {{"* Sensor-Timeout..: 0"}, 0, false},
      {{"* Sensor-Timeout..: "}, 0, false},
      {{"* Sensor-Timeout..: 1.5"}, 0, true},
      {{"* Sensor-Timeout..: -3"}, 0, true},
      {{"* Sensor-Timeout..: 60s"}, 0, true},
      {{"* Sensor-Timeout..: 99999999999"}, 0, true},
  };
  for (const Case& c : cases) {
    const Result<SensorTimeLimit> limit = ReadSensorTimeout(c.lines);
    SCOPED_TRACE(c.lines.back());
    EXPECT_EQ(
        limit.value_or(std::nullopt).value_or(std::chrono::seconds(0)).count(),
        c.limit);
    EXPECT_EQ(!limit, c.problem) << limit.error();
  }
}

}  // namespace
}  // namespace vigil
