#include "vigil/commands.h"

namespace vigil::cli {

int RunShow(const Words&, std::ostream&, std::ostream& err) {
  err << "vigil: show is not built yet\n";
  return 2;
}

}  // namespace vigil::cli
