// Answers of the PRTG simulator, captured once and kept as fixtures.
#ifndef VIGIL_TESTS_PRTG_PRTG_FIXTURE_H_
#define VIGIL_TESTS_PRTG_PRTG_FIXTURE_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/text.h"
#include "store/text_file.h"

namespace vigil::testing {

inline std::string PrtgFixture(std::string_view name) {
  return ReadFileBytes(std::string(VIGIL_FIXTURE_DIR) + "/prtg/" +
                       std::string(name))
      .value_or("");
}

inline std::vector<std::string> PrtgFixtureLines(std::string_view name) {
  return SplitLines(PrtgFixture(name));
}

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_PRTG_PRTG_FIXTURE_H_
