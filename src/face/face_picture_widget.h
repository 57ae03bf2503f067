// Loads the face's pictures: JPEG dials and images through libjpeg, BMP
// pointers through Qt; the cache keeps them while their files stay as
// they are.
#ifndef VIGIL_FACE_FACE_PICTURE_WIDGET_H_
#define VIGIL_FACE_FACE_PICTURE_WIDGET_H_

#include <QImage>
#include <QPixmap>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <optional>

namespace vigil {

// nullopt when the file is missing or not a readable picture, so that the
// caller keeps the element's previous picture. A transparent picture takes
// the colour of its bottom-left pixel as see-through; that is kept exact
// only in lossless files, so JPEG pictures are always opaque.
std::optional<QImage> LoadFacePicture(const std::filesystem::path& file,
                                      bool transparent);

// Every refresh asks for the dial, the pointer and the image again, and
// they rarely change: a file is decoded again only when its modification
// time or size differ from the last decode. A file that failed to decode
// is not tried again until it changes. Only the most recently used
// pictures are kept: a gauge visits many pointer files over time.
class FacePictureCache final {
 public:
  // Room for the dial, the image and two pointers.
  explicit FacePictureCache(size_t capacity = 4) : capacity_(capacity) {}

  // As LoadFacePicture, as a pixmap: nullopt for a missing or unreadable
  // file.
  std::optional<QPixmap> Load(const std::filesystem::path& file,
                              bool transparent);

  // How many times a file was read and decoded.
  int decodes() const { return decodes_; }

 private:
  struct Entry {
    std::filesystem::path file;
    bool transparent = false;
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    std::optional<QPixmap> picture;
  };
  size_t capacity_;
  std::list<Entry> entries_;  // the most recently used first
  int decodes_ = 0;
};

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_PICTURE_WIDGET_H_
