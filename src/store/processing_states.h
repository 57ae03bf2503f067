// Turns the processing-state lines of a result text ("* " lines, one per
// processing step or profile of the companion or the PRTG client) into the
// rows of the processing table.
#ifndef VIGIL_STORE_PROCESSING_STATES_H_
#define VIGIL_STORE_PROCESSING_STATES_H_

#include <string>
#include <vector>

#include "monitor/item_table.h"

namespace vigil {

// A line "* " + caption (8) + one skipped character + description, with an
// optional "State=" and its state; a " #" starts a comment.
ProcessingTable ReadProcessingStates(
    const std::vector<std::string>& message_lines);

}  // namespace vigil

#endif  // VIGIL_STORE_PROCESSING_STATES_H_
