// The unit a zoomed orb shows behind the first line of its chart title.
#ifndef VIGIL_FACE_CHART_TITLE_H_
#define VIGIL_FACE_CHART_TITLE_H_

#include <string>

namespace vigil {

// "Disks" and "%" give "Disks <%>"; further lines stay as they are.
std::string TitleWithUnit(const std::string& title, const std::string& unit);

// The first line cut before its " <".
std::string TitleWithoutUnit(const std::string& title);

// The title with its first line replaced.
std::string WithFirstLine(const std::string& title, const std::string& first);

}  // namespace vigil

#endif  // VIGIL_FACE_CHART_TITLE_H_
