// Reads the identifier of a sensor from the sensor details answer of a
// PRTG server (/api/getsensordetails.xml), for multi-sensor orbs.
//
// An element's value is a CDATA section on the line after its opening tag
// or on the same line:
//   <probename>
//     <![CDATA[Local Probe]]>
//   </probename>
//   <probename><![CDATA[Local Probe]]></probename>
#ifndef VIGIL_PRTG_DETAILS_READER_H_
#define VIGIL_PRTG_DETAILS_READER_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil {

inline constexpr std::string_view kNoIdentifier = "No_Identifier";

// The element that names a sensor, by column 49 of the record: '1' the
// probe, '2' the group, '3' the device, '4' the sensor; nullopt otherwise.
std::optional<std::string_view> IdentifierElement(char kind);

// The CDATA text of each line that begins with the element, or else of the
// line after it (the last one wins); identifier as it was when there is
// none.
std::string ReadIdentifier(const std::vector<std::string>& lines,
                           std::string_view element, std::string identifier);

}  // namespace vigil

#endif  // VIGIL_PRTG_DETAILS_READER_H_
