#include "store/processing_states.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "store/text.h"

namespace vigil {
namespace {

constexpr int kImageStep = 2;
constexpr int kImageCompanionProfile = 9;  // the line names "Quillon.Prf"
constexpr int kImageNoState = 32;
constexpr int kImageGlobalNoState = 39;
constexpr int kMaxStateLength = 99;
constexpr int kMaxDescriptionLength = 99;

struct StateImage {
  std::string_view state;
  int image_index;
};
constexpr std::array<StateImage, 8> kStateImages = {{
    {"Done", 42},
    {"Processed", 60},
    {"Executing", 12},
    {"Processing", 36},
    {"Rfc Failure", 22},
    {"Failed", 22},
    {"NoData", 70},
    {"Not Found", 43},
}};

ProcessingRow ReadLine(const std::string& line) {
  ProcessingRow row;
  row.image_index =
      Pos("Quillon.Prf", line) > 0 ? kImageCompanionProfile : kImageStep;
  row.caption = Mid(line, 3, 8);
  const int state_at = Pos("State=", line);
  if (state_at > 0) {
    // The description ends with the blank before "State=".
    row.description = Mid(line, 12, state_at - 13);
    row.state = Mid(line, state_at + 6, kMaxStateLength);
  } else {
    row.description = Mid(line, 12, kMaxDescriptionLength);
  }
  const size_t comment = row.description.find(" #");
  if (comment != std::string::npos) row.description.resize(comment);

  if (row.state.empty()) {
    row.image_index =
        Pos("Global", line) > 0 ? kImageGlobalNoState : kImageNoState;
  }
  for (const StateImage& known : kStateImages) {
    if (row.state == known.state) row.image_index = known.image_index;
  }
  return row;
}

}  // namespace

bool IsProcessingLine(std::string_view line) { return line.starts_with("* "); }

bool HasProcessingLines(const std::vector<std::string>& lines) {
  return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return IsProcessingLine(line);
  });
}

ProcessingTable ReadProcessingStates(
    const std::vector<std::string>& message_lines) {
  ProcessingTable table;
  for (const std::string& line : message_lines) {
    if (IsProcessingLine(line)) table.push_back(ReadLine(line));
  }
  return table;
}

}  // namespace vigil
