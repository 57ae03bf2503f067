// The result text of the companion's sensor programs and of the PRTG
// client's writer: one element per line, in the case they write it.
#ifndef VIGIL_MONITOR_COMPANION_RESULT_FORMAT_H_
#define VIGIL_MONITOR_COMPANION_RESULT_FORMAT_H_

#include <string>
#include <vector>

#include "monitor/result_format.h"

namespace vigil {

// True when every line is one that the line reader reads whole: "<Prtg>"
// first, each element at the start of its line in the companion's case,
// the channel on its record's line, only the companion's unit words and
// text forms, no entities. A standard sensor's text in that shape reads
// the same by either reader.
bool IsCompanionShaped(const std::vector<std::string>& lines);

// True when the first line but blanks and a declaration is "<Prtg>".
bool OpensAsCompanion(const std::vector<std::string>& lines);

const ResultFormat& CompanionResultFormat();

}  // namespace vigil

#endif  // VIGIL_MONITOR_COMPANION_RESULT_FORMAT_H_
