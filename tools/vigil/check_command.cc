#include "vigil/commands.h"

namespace vigil::cli {

int RunCheck(const Words&, std::ostream&, std::ostream& err) {
  err << "vigil: check is not built yet\n";
  return 2;
}

}  // namespace vigil::cli
