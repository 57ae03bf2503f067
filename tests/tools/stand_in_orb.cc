#include "tools/stand_in_orb.h"

#include <chrono>
#include <filesystem>
#include <vector>

#include "vigil/launcher_process.h"

namespace vigil::cli {

std::unique_ptr<testing::ChildProcess> StandInOrb(const testing::TempDir& wall,
                                                  const std::string& number) {
  using namespace std::chrono_literals;
  const std::filesystem::path program = wall / "bin/AuxOrb";
  if (!std::filesystem::is_symlink(program)) {
    std::filesystem::create_directories(program.parent_path());
    std::filesystem::create_symlink("/bin/sleep", program);
  }
  auto orb = std::make_unique<testing::ChildProcess>(
      std::vector<std::string>{program.string(), "300", number}, wall.path());
  const pid_t pid = orb->pid();
  testing::WaitUntil(
      [&] { return InspectOrbProcess(pid, wall.path()).has_value(); }, 5s);
  return orb;
}

}  // namespace vigil::cli
