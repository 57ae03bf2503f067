// One problem that `vigil check` found: where it is and what is wrong.
#ifndef VIGIL_TOOLS_VIGIL_FINDING_H_
#define VIGIL_TOOLS_VIGIL_FINDING_H_

#include <string>
#include <string_view>
#include <vector>

namespace vigil::cli {

struct Finding {
  int line = 0;    // 1-based; 0 for a text that is no line of a file yet
  int column = 1;  // 1-based byte column
  std::string message;
};

// "FILE:LINE:COLUMN: message", as compilers write it, so editors jump there.
std::string FormatFinding(std::string_view file_label, const Finding& finding);

// In line and column order; findings of one place keep their order.
void SortFindings(std::vector<Finding>& findings);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_FINDING_H_
