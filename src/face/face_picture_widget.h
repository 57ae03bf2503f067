// Loads the face's pictures: JPEG dials and images through libjpeg, BMP
// pointers through Qt.
#ifndef VIGIL_FACE_FACE_PICTURE_WIDGET_H_
#define VIGIL_FACE_FACE_PICTURE_WIDGET_H_

#include <QImage>
#include <filesystem>
#include <optional>

namespace vigil {

// nullopt when the file is missing or not a readable picture, so that the
// caller keeps the element's previous picture. A transparent picture takes
// the colour of its bottom-left pixel as see-through; that is kept exact
// only in lossless files, so JPEG pictures are always opaque.
std::optional<QImage> LoadFacePicture(const std::filesystem::path& file,
                                      bool transparent);

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_PICTURE_WIDGET_H_
