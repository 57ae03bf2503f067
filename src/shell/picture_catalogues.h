// The gauge and image choices offered by the settings dialog, from the
// pictures present in the working directory.
#ifndef VIGIL_SHELL_PICTURE_CATALOGUES_H_
#define VIGIL_SHELL_PICTURE_CATALOGUES_H_

#include <filesystem>
#include <string>
#include <vector>

namespace vigil {

std::string GaugePictureName(int number);  // "Gauges/Gauge07.Jpg"
std::string ImagePictureName(int number);  // "Images/Image07.Jpg"

// "Typ nn" per dial, in pairs (light and dark); stops at the first pair of
// which neither picture exists.
std::vector<std::string> GaugeChoices(const std::filesystem::path& dir);

// "Img nn" for every image 00..99 that exists; gaps do not stop the search.
std::vector<std::string> ImageChoices(const std::filesystem::path& dir);

}  // namespace vigil

#endif  // VIGIL_SHELL_PICTURE_CATALOGUES_H_
