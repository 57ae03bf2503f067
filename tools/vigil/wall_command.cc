#include "vigil/commands.h"

namespace vigil::cli {

int RunWall(const std::string& command, const Words&, std::ostream&,
            std::ostream& err) {
  err << "vigil: " << command << " is not built yet\n";
  return 2;
}

}  // namespace vigil::cli
