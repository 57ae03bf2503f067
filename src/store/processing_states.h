// Turns the processing-state lines of a result text ("* " lines, one per
// processing step or profile of the companion or the PRTG client) into the
// rows of the processing table.
#ifndef VIGIL_STORE_PROCESSING_STATES_H_
#define VIGIL_STORE_PROCESSING_STATES_H_

#include <string>
#include <string_view>
#include <vector>

namespace vigil {

// View08: one row per processing-state line of the result text.
struct ProcessingRow {
  std::string caption;      // "~"
  std::string description;  // "Item"
  std::string state;        // "Unit"
  int image_index = 0;
  friend bool operator==(const ProcessingRow&, const ProcessingRow&) = default;
};
using ProcessingTable = std::vector<ProcessingRow>;

// A line "* " + caption (8) + one skipped character + description, with an
// optional "State=" and its state; a " #" starts a comment.
bool IsProcessingLine(std::string_view line);
bool HasProcessingLines(const std::vector<std::string>& lines);

ProcessingTable ReadProcessingStates(
    const std::vector<std::string>& message_lines);

}  // namespace vigil

#endif  // VIGIL_STORE_PROCESSING_STATES_H_
