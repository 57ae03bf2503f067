// A stand-in for a running orb: /bin/sleep under the mode's name in the
// wall, its second word the orb number, as an orb's command line has it.
#ifndef VIGIL_TESTS_TOOLS_STAND_IN_ORB_H_
#define VIGIL_TESTS_TOOLS_STAND_IN_ORB_H_

#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vigil::cli {

// Returns once vigil sees it as the orb of that number in the wall.
std::unique_ptr<testing::ChildProcess> StandInOrb(const testing::TempDir& wall,
                                                  const std::string& number);

}  // namespace vigil::cli

#endif  // VIGIL_TESTS_TOOLS_STAND_IN_ORB_H_
