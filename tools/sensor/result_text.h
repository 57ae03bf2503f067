// Renders the sensor's measurements as the PRTG-style result text that the
// orb reads line by line: each tag at the start of its own line, values
// with "." as the decimal point and no thousands separator.
#ifndef VIGIL_TOOLS_SENSOR_RESULT_TEXT_H_
#define VIGIL_TOOLS_SENSOR_RESULT_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace vigil::sensor {

enum class UnitKind { kPerCent, kTimeResponse, kCustom };

struct ResultChannel {
  std::string name;
  double value = 0;
  int decimals = 0;
  UnitKind unit = UnitKind::kCustom;
  std::string custom_unit;  // for kCustom
};

// A processing-state line: "* " + caption (8 columns) + " " + description,
// and " State=" + state when there is one.
struct ProcessingStep {
  std::string caption;
  std::string description;
  std::string state;
};

struct SensorResult {
  std::vector<ProcessingStep> steps;
  std::vector<ResultChannel> channels;
  std::string text;   // the machine description
  std::string error;  // when set, the text element reports it instead
};

// The orb turns "," into "." and reads anything above 1000 as thousands,
// and a text longer than 7 characters gets a point inserted: so values are
// clamped to 0..1000 and shown with fewer decimals until they fit.
std::string FormatValue(double value, int decimals);

// Makes a text safe for the line-oriented result reader: no "<", ">" or
// "&" (it would cut the text), no " (" (it ends the message part), no
// control characters.
std::string SafeText(std::string_view text);

std::string ProcessingLine(const ProcessingStep& step);

// "<Prtg>", the processing lines, one "<Text>" line, one record per
// channel, "</Prtg>"; CR LF line ends.
std::string RenderResult(const SensorResult& result);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_RESULT_TEXT_H_
