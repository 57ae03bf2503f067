// JPEG dials and images decoded with libjpeg into a plain RGB buffer.
#ifndef VIGIL_FACE_JPEG_PICTURE_H_
#define VIGIL_FACE_JPEG_PICTURE_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vigil {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes a pixel
};

// Pictures beyond this edge length are refused rather than allocated.
inline constexpr int kMaxPictureEdge = 4096;

// nullopt for anything that is not a whole, readable JPEG: a picture that
// fails to decode leaves the face element's previous picture in place.
std::optional<RgbPicture> DecodeJpeg(std::string_view bytes);
std::optional<RgbPicture> LoadJpegFile(const std::filesystem::path& file);

}  // namespace vigil

#endif  // VIGIL_FACE_JPEG_PICTURE_H_
