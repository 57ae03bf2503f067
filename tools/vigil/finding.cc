#include "vigil/finding.h"

#include <algorithm>

namespace vigil::cli {

std::string FormatFinding(std::string_view file_label, const Finding& finding) {
  return std::string(file_label) + ":" + std::to_string(finding.line) + ":" +
         std::to_string(finding.column) + ": " + finding.message;
}

void SortFindings(std::vector<Finding>& findings) {
  std::stable_sort(
      findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
      });
}

}  // namespace vigil::cli
