// An orb's lines in words, one "label: value" line per field, for
// `vigil show`.
#ifndef VIGIL_TOOLS_VIGIL_ORB_DESCRIPTION_H_
#define VIGIL_TOOLS_VIGIL_ORB_DESCRIPTION_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/orbs_file.h"

namespace vigil::cli {

// The orb must have a record. Texts from the file come out quoted and
// readable whatever their bytes; a mail password is never shown.
std::vector<std::string> DescribeOrb(const OrbLines& orb,
                                     std::string_view mode_word);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_ORB_DESCRIPTION_H_
