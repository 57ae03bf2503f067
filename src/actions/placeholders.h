// The placeholders of action texts: "%Sensor", "%Value", "%Unit",
// "%Channel", "%State" and "%Result", replaced by the orb's current
// action context.
#ifndef VIGIL_ACTIONS_PLACEHOLDERS_H_
#define VIGIL_ACTIONS_PLACEHOLDERS_H_

#include <string>
#include <string_view>
#include <vector>

namespace vigil {

struct PlaceholderValues {
  std::string display_name;    // %Sensor
  double trigger_value = 0;    // %Value
  std::string unit;            // %Unit
  std::string item;            // %Channel
  int state_code = 0;          // %State, as its word
  std::string mail_body_file;  // %Result
};

// "Green/OK" ... "Resumed" for the codes 1-8, "Unknown" otherwise.
std::string StateWord(int state_code);

// The shortest general form with up to 15 significant digits: 12.5 gives
// "12.5", 100 gives "100"; scientific ("1.5E20", "1E-6") from 16 digits
// before the point or below 0.00001 in magnitude.
std::string FormatTriggerValue(double value);

// A stretch of a substituted text, with where it came from: commands built
// from it must take a placeholder's value literally, never as syntax.
struct TextPiece {
  std::string text;
  bool substituted = false;
};

// Replaces the first occurrence of each placeholder, in the fixed order,
// in the text that the previous replacements produced; matching is
// case-sensitive. Adjacent pieces of the same origin are merged.
std::vector<TextPiece> SubstitutePieces(std::string_view text,
                                        const PlaceholderValues& values);

// The substituted text as one string.
std::string JoinPieces(const std::vector<TextPiece>& pieces);
std::string Substitute(std::string_view text, const PlaceholderValues& values);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_PLACEHOLDERS_H_
