// Attached profile lines for the PRTG client tests, written the way the
// orb's configurator writes them.
#ifndef VIGIL_TESTS_PRTG_PROFILE_LINES_H_
#define VIGIL_TESTS_PRTG_PROFILE_LINES_H_

#include <string>
#include <string_view>

#include "prtg/prtg_profile.h"

namespace vigil::testing {

inline std::string HostLine(std::string_view host) {
  return std::string(kHostKey) + std::string(host);
}
inline std::string SchemeLine(bool https) {
  return std::string(https ? kHttpsSchemeLine : kHttpSchemeLine);
}
inline std::string UserLine(std::string_view user) {
  return std::string(kUserKey) + std::string(user);
}
// Scrambling and unscrambling are the same operation.
inline std::string PasswordLine(std::string_view password) {
  return std::string(kPasswordKey) + Unscramble(password);
}

// Stored plainly.
inline std::string ApiTokenLine(std::string_view token) {
  return std::string(kApiTokenKey) + std::string(token);
}

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_PRTG_PROFILE_LINES_H_
