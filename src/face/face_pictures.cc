#include "face/face_pictures.h"

#include "store/config_record.h"

namespace vigil {

std::string GaugeDialFile(std::string_view record) {
  return std::string("Gauges/Gauge") + RecordFlag(record, 34) +
         RecordFlag(record, 37) + ".Jpg";
}

std::string PointerFile(std::string_view style, std::string_view part) {
  return "Gauges/" + std::string(style) + std::string(part) + ".Bmp";
}

std::string ImageFile(std::string_view record) {
  std::string number{RecordFlag(record, 28), RecordFlag(record, 77)};
  if (number == "  ") number = "00";
  return "Images/Image" + number + ".Jpg";
}

}  // namespace vigil
