// The named options of `vigil add` and `vigil set`: each one checked and
// written into an orb's lines through the record's own setters.
#ifndef VIGIL_TOOLS_VIGIL_ORB_OPTIONS_H_
#define VIGIL_TOOLS_VIGIL_ORB_OPTIONS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/orbs_file.h"
#include "vigil/option_words.h"

namespace vigil::cli {

// Options that take a value; "rule" may be repeated.
const std::vector<std::string_view>& OrbValueOptions();
// "purge-rules": the rules given with --rule replace the orb's rules;
// "force": a sensor program that is not there yet is written anyway.
const std::vector<std::string_view>& OrbFlagOptions();

// A record as the settings dialog would start one: a 1x1 chart of bars,
// a delay of 60 seconds, ten history bars, the lock name from the source,
// legend and chart title shown, the source Global.
ConfigRecord NewRecord(std::string_view number);

// Writes every option given into orb; nullopt when all were taken, else
// why one was refused (orb is then half-changed and must be dropped).
std::optional<std::string> ApplyOrbOptions(const OptionWords& options,
                                           std::string_view mode_word,
                                           OrbConfiguration& orb);

// The names of the options given, for the report of what changed.
std::string OptionNames(const OptionWords& options);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_ORB_OPTIONS_H_
