// The three modes an orb runs in, in one table: everything that differs
// between them is a field here, so that no other code compares mode words.
#ifndef VIGIL_STORE_ORB_MODE_H_
#define VIGIL_STORE_ORB_MODE_H_

#include <array>
#include <string_view>

#include "store/value_parser.h"

namespace vigil {

struct OrbMode {
  std::string_view word;  // "RfcOrb": the program's name, the file stems
  // Acquires from a PRTG server over HTTP; the others run a sensor program.
  bool http = false;
  // Its sensor talks to SAP through the RFC library, which must be there,
  // and the global file "SAP Quillon.Gbl" with it.
  bool sap_rfc = false;
  // The canned result of the sensor test replaces the sensor run.
  bool canned_result = false;
  char number_format = kNumberFormatE;  // the value parser's separators
  // Characters of the attached profile name the work file keeps.
  int work_file_stem = 10;
  // A derived lock name cuts the source name at its first ".".
  bool lock_name_without_extension = false;
  // The log's target field is the sensor program, not the address's id.
  bool log_target_is_program = false;
  // The menu offers the PRTG entries (the sensor page, the view logging).
  bool prtg_menu = false;
};

inline constexpr std::array<OrbMode, 3> kOrbModes = {{
    {.word = "RfcOrb",
     .sap_rfc = true,
     .canned_result = true,
     .number_format = kNumberFormatD,
     .log_target_is_program = true},
    {.word = "HttpOrb",
     .http = true,
     .canned_result = true,
     .work_file_stem = 11,
     .lock_name_without_extension = true,
     .prtg_menu = true},
    {.word = "AuxOrb"},
}};

// The mode of that word; nullptr for a word that is no mode.
const OrbMode* FindOrbMode(std::string_view word);

// The mode of that word, AuxOrb's for a word that is no mode: callers
// hold words that the command line or a file name has checked.
const OrbMode& OrbModeOf(std::string_view word);

}  // namespace vigil

#endif  // VIGIL_STORE_ORB_MODE_H_
