// The XML documents of the API, laid out line by line as the real server
// writes them: clients read them line-oriented, so the line breaks matter.
#ifndef VIGIL_TOOLS_PRTG_SIM_ANSWERS_H_
#define VIGIL_TOOLS_PRTG_SIM_ANSWERS_H_

#include <string>
#include <string_view>
#include <vector>

#include "prtg-sim/sensor_set.h"

namespace vigil::sim {

inline constexpr std::string_view kServerVersion = "1.0.0.0";
inline constexpr std::string_view kNoSuchObject =
    "Sorry, there is no object with the specified id.";

// values holds the current value of each channel, in channel order.
std::string ChannelsXml(const Sensor& sensor, const std::vector<double>& values,
                        Locale locale);

// Each element's value in a CDATA section on the line after its opening
// tag. now_text is the time of the last check.
std::string DetailsXml(const Sensor& sensor, const std::vector<double>& values,
                       Locale locale, std::string_view now_text);

std::string ErrorXml(std::string_view message);

// The sensor's web page, for a browser opened on /sensor.htm.
std::string SensorPage(const Sensor& sensor, const std::vector<double>& values,
                       Locale locale);

// PRTG's numeric status code for a status text.
int StatusId(std::string_view status);

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_ANSWERS_H_
