// Names of the face's picture files, relative to the working directory.
#ifndef VIGIL_FACE_FACE_PICTURES_H_
#define VIGIL_FACE_FACE_PICTURES_H_

#include <string>
#include <string_view>

#include "store/config_record.h"

namespace vigil {

// "Gauges/Gauge" + columns 34 and 37 + ".Jpg": the dial background.
std::string GaugeDialFile(const ConfigRecord& record);

// "Gauges/" + style + part + ".Bmp": "Gauges/PtBlk30.Bmp".
std::string PointerFile(std::string_view style, std::string_view part);

// "Images/Image" + columns 28 and 77 + ".Jpg"; two blanks read as "00".
std::string ImageFile(const ConfigRecord& record);

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_PICTURES_H_
