#include "vigil/commands.h"

namespace vigil::cli {

int RunAdd(const Words&, std::ostream&, std::ostream& err) {
  err << "vigil: add is not built yet\n";
  return 2;
}

int RunSet(const Words&, std::ostream&, std::ostream& err) {
  err << "vigil: set is not built yet\n";
  return 2;
}

}  // namespace vigil::cli
