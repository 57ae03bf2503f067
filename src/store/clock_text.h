// Dates and times in the process-wide formats "DD.MM.YY" and "hh:mm:ss".
#ifndef VIGIL_STORE_CLOCK_TEXT_H_
#define VIGIL_STORE_CLOCK_TEXT_H_

#include <chrono>
#include <string>

namespace vigil {

using WallClock = std::chrono::system_clock;

std::string DateText(WallClock::time_point when);
std::string TimeText(WallClock::time_point when);

}  // namespace vigil

#endif  // VIGIL_STORE_CLOCK_TEXT_H_
