// Orb-wide values that the cycle keeps beside the tables, from start-up
// to the end of the orb.
#ifndef VIGIL_STORE_ORB_VALUES_H_
#define VIGIL_STORE_ORB_VALUES_H_

#include <chrono>
#include <string>
#include <string_view>

#include "store/colour.h"

namespace vigil {

// The state code that the orb announces; its words are the actions'.
namespace state_code {
inline constexpr int kNotSet = 0;
inline constexpr int kGreen = 1;
inline constexpr int kYellow = 2;
inline constexpr int kRed = 3;
inline constexpr int kNoData = 4;
inline constexpr int kStarting = 5;  // named, never set
inline constexpr int kStopped = 6;
inline constexpr int kSuspended = 7;
inline constexpr int kResumed = 8;
}  // namespace state_code

inline constexpr std::string_view kNoKeptDate = "xx.xx.xx";

struct OrbValues {
  Rgb orb_colour = kNeutral;             // neutral: no rule fired
  Rgb colour_at_cycle_start = kNeutral;  // for the hold flag
  int state_code = state_code::kNotSet;
  char state_memory = '.';  // 'W' after a logged warning, 'A' an alert
  std::chrono::milliseconds acquisition_time{0};  // lock taken to released
  double kept_value = 0;
  double kept_increase = 0;
  std::string kept_date = std::string(kNoKeptDate);  // "DD.MM.YY"
  char number_format = 'E';  // 'D' or 'E', for the value parser
};

// The values of a freshly started orb: the RfcOrb mode reads "1.234" as
// 1234, the other modes read "," as the thousands separator.
OrbValues InitialOrbValues(std::string_view mode_word);

}  // namespace vigil

#endif  // VIGIL_STORE_ORB_VALUES_H_
