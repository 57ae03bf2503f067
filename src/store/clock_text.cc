#include "store/clock_text.h"

#include <ctime>

namespace vigil {
namespace {

std::string Format(WallClock::time_point when, const char* format) {
  const std::time_t seconds = WallClock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  const size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

}  // namespace

std::string DateText(WallClock::time_point when) {
  return Format(when, "%d.%m.%y");
}

std::string TimeText(WallClock::time_point when) {
  return Format(when, "%H:%M:%S");
}

}  // namespace vigil
