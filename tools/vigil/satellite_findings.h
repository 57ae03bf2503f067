// What `vigil check` finds in the content of a satellite line: rules the
// rule reader cannot read and action settings with unknown marks.
#ifndef VIGIL_TOOLS_VIGIL_SATELLITE_FINDINGS_H_
#define VIGIL_TOOLS_VIGIL_SATELLITE_FINDINGS_H_

#include <string_view>
#include <vector>

#include "vigil/finding.h"

namespace vigil::cli {

// A rule text "item;operator;value;action;" whose first character stands
// in content_column of line.
void CheckRule(std::string_view rule, int line, int content_column,
               std::vector<Finding>& findings);

// The mark columns of the action settings of marker ("$", "%", "!", "&"
// or the trace marker) before their fields begin.
void CheckActionMarks(char marker, std::string_view settings, int line,
                      int content_column, std::vector<Finding>& findings);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SATELLITE_FINDINGS_H_
