#include "face/face_pictures.h"

namespace vigil {

std::string GaugeDialFile(const ConfigRecord& record) {
  return "Gauges/Gauge" + record.gauge_number() + ".Jpg";
}

std::string PointerFile(std::string_view style, std::string_view part) {
  return "Gauges/" + std::string(style) + std::string(part) + ".Bmp";
}

std::string ImageFile(const ConfigRecord& record) {
  std::string number = record.image_number();
  if (number == "  ") number = "00";
  return "Images/Image" + number + ".Jpg";
}

}  // namespace vigil
