// What an AuxOrb makes of a sensor's result text, told to the operator:
// the format it is read in, the rows with the numbers the rules compare,
// the message, the reader's problems and whether the orb shows data.
#ifndef VIGIL_TOOLS_VIGIL_RESULT_REPORT_H_
#define VIGIL_TOOLS_VIGIL_RESULT_REPORT_H_

#include <ostream>
#include <string>
#include <vector>

namespace vigil::cli {

// Writes the report of the work file's lines, the verdict last; true when
// an orb would show the data.
bool WriteResultReport(const std::vector<std::string>& lines,
                       std::ostream& out);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_RESULT_REPORT_H_
