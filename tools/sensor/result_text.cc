#include "sensor/result_text.h"

#include <cmath>
#include <cstdio>

#include "common/tool_text.h"

namespace vigil::sensor {
namespace {

constexpr double kLargestPlainValue = 1000.0;
constexpr size_t kLongestValueText = 7;

// Descriptions must not end early: " #" starts a comment and "State="
// would be taken as the state.
std::string StepText(const std::string& text) {
  std::string safe = SafeText(text);
  for (char& c : safe) {
    if (c == '#') c = '_';
  }
  size_t at = 0;
  while ((at = safe.find("State=", at)) != std::string::npos) {
    safe[at + 5] = ':';
  }
  return safe;
}

}  // namespace

std::string SafeText(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '<' || c == '>' || c == '&') {
      safe += '_';
    } else if (c == '(') {
      safe += '[';
    } else if (c == ')') {
      safe += ']';
    } else if (byte < 0x20 || byte == 0x7F) {
      safe += ' ';
    } else {
      safe += c;
    }
  }
  return safe;
}

std::string FormatValue(double value, int decimals) {
  if (!std::isfinite(value) || value < 0) value = 0;
  if (value > kLargestPlainValue) value = kLargestPlainValue;
  if (decimals < 0) decimals = 0;
  if (decimals > 6) decimals = 6;
  char text[32];
  for (;; --decimals) {
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    if (decimals == 0 ||
        std::char_traits<char>::length(text) <= kLongestValueText) {
      break;
    }
  }
  return text;
}

std::string ProcessingLine(const ProcessingStep& step) {
  std::string caption = tools::Mid(StepText(step.caption), 1, 8);
  caption.resize(8, ' ');
  std::string line = "* " + caption + " " + StepText(step.description);
  if (!step.state.empty()) line += " State=" + StepText(step.state);
  return line;
}

std::string RenderResult(const SensorResult& result) {
  std::string out = "<Prtg>\r\n";
  for (const ProcessingStep& step : result.steps) {
    out += ProcessingLine(step) + "\r\n";
  }
  if (!result.error.empty()) {
    out += "<Text>Error " + SafeText(result.error) + "</Text>\r\n";
  } else {
    // The orb cuts a text at its " (" and drops a five-character code in
    // front, so "(Lnx) " and " (vigil-sensor)" frame the description.
    out +=
        "<Text>(Lnx) " + SafeText(result.text) + " (vigil-sensor)</Text>\r\n";
  }
  for (const ResultChannel& channel : result.channels) {
    out += "<Result><Channel>" + SafeText(channel.name) + "</Channel>\r\n";
    out += "<Value>" + FormatValue(channel.value, channel.decimals) +
           "</Value>\r\n";
    // Each unit tag on its own line, last in the record: the reader drops
    // two characters after "<Unit>PerCent</Unit>".
    switch (channel.unit) {
      case UnitKind::kPerCent:
        out += "<Unit>PerCent</Unit>\r\n";
        break;
      case UnitKind::kTimeResponse:
        out += "<Unit>TimeResponse</Unit>\r\n";
        break;
      case UnitKind::kCustom:
        out += "<Unit>Custom</Unit>\r\n";
        out += "<CustomUnit>" + SafeText(channel.custom_unit) +
               "</CustomUnit>\r\n";
        break;
    }
    out += "</Result>\r\n";
  }
  out += "</Prtg>\r\n";
  return out;
}

}  // namespace vigil::sensor
