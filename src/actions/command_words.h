// Commands built from substituted action texts. The operator's own text
// keeps its meaning; a value that a placeholder put in (an item name from
// a sensor, a unit, a display name) is always taken literally, so that an
// item called "x; rm -rf ~" stays a name.
#ifndef VIGIL_ACTIONS_COMMAND_WORDS_H_
#define VIGIL_ACTIONS_COMMAND_WORDS_H_

#include <string>
#include <vector>

#include "actions/placeholders.h"

namespace vigil {

// A command line for /bin/sh -c: the operator's text as written, each
// substituted value quoted for the place where it stands (outside quotes,
// inside '...' or "...", inside $(...) or `...`).
std::string ShellCommandLine(const std::vector<TextPiece>& pieces);

// The words of a program started without a shell: the operator's text is
// split at blanks outside double quotes, and the double quotes are dropped;
// a substituted value never splits a word and its quotes stay as they are.
std::vector<std::string> CommandWords(const std::vector<TextPiece>& pieces);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_COMMAND_WORDS_H_
