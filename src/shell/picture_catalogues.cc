#include "shell/picture_catalogues.h"

#include "store/text.h"
#include "store/text_file.h"

namespace vigil {

std::string GaugePictureName(int number) {
  return "Gauges/Gauge" + TwoDigits(number) + ".Jpg";
}

std::string ImagePictureName(int number) {
  return "Images/Image" + TwoDigits(number) + ".Jpg";
}

std::vector<std::string> GaugeChoices(const std::filesystem::path& dir) {
  std::vector<std::string> choices;
  for (int n = 0; n <= 98; n += 2) {
    const bool first = FileExists(dir / GaugePictureName(n));
    const bool second = FileExists(dir / GaugePictureName(n + 1));
    if (!first && !second) break;
    if (first) choices.push_back("Typ " + TwoDigits(n));
    if (second) choices.push_back("Typ " + TwoDigits(n + 1));
  }
  return choices;
}

std::vector<std::string> ImageChoices(const std::filesystem::path& dir) {
  std::vector<std::string> choices;
  for (int n = 0; n <= 99; ++n) {
    if (FileExists(dir / ImagePictureName(n))) {
      choices.push_back("Img " + TwoDigits(n));
    }
  }
  return choices;
}

}  // namespace vigil
