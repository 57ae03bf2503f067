// Reads the /proc and /etc texts kept under tests/tools/fixtures.
#ifndef VIGIL_TESTS_TOOLS_FIXTURE_TEXT_H_
#define VIGIL_TESTS_TOOLS_FIXTURE_TEXT_H_

#include <fstream>
#include <sstream>
#include <string>

namespace vigil::tools_test {

inline std::string FixtureText(const std::string& name) {
  std::ifstream in(
      std::string(VIGIL_SOURCE_DIR) + "/tests/tools/fixtures/" + name,
      std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace vigil::tools_test

#endif  // VIGIL_TESTS_TOOLS_FIXTURE_TEXT_H_
