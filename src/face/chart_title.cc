#include "face/chart_title.h"

namespace vigil {

std::string TitleWithUnit(const std::string& title, const std::string& unit) {
  const size_t end = title.find('\n');
  const std::string first = title.substr(0, end);
  const std::string rest = end == std::string::npos ? "" : title.substr(end);
  return first + " <" + unit + ">" + rest;
}

std::string TitleWithoutUnit(const std::string& title) {
  const size_t end = title.find('\n');
  const size_t unit = title.substr(0, end).find(" <");
  if (unit == std::string::npos) return title;
  return title.substr(0, unit) +
         (end == std::string::npos ? "" : title.substr(end));
}

std::string WithFirstLine(const std::string& title, const std::string& first) {
  const size_t end = title.find('\n');
  return end == std::string::npos ? first : first + title.substr(end);
}

}  // namespace vigil
