// `vigil check`'s reading of a whole orbs file: every line classified as
// the orbs read it, and every problem found with its line and column.
#ifndef VIGIL_TOOLS_VIGIL_ORBS_FILE_CHECK_H_
#define VIGIL_TOOLS_VIGIL_ORBS_FILE_CHECK_H_

#include <optional>
#include <string>
#include <vector>

#include "vigil/companion_findings.h"
#include "vigil/finding.h"

namespace vigil::cli {

struct CheckScope {
  std::string mode_word;
  // nullopt: the files that records name are not looked for.
  std::optional<FileSearch> files;
};

// Findings in line and column order.
std::vector<Finding> CheckOrbsLines(const std::vector<std::string>& lines,
                                    const CheckScope& scope);

// The numbers of the orbs that have a record, each once, in the order of
// their first line.
std::vector<std::string> RecordNumbers(const std::vector<std::string>& lines,
                                       const std::string& mode_word);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_ORBS_FILE_CHECK_H_
