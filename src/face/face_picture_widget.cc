#include "face/face_picture_widget.h"

#include <QImageReader>
#include <QString>
#include <algorithm>
#include <system_error>

#include "face/jpeg_picture.h"
#include "store/text.h"

namespace vigil {
namespace {

bool IsJpegName(const std::filesystem::path& file) {
  const std::string extension = ToLower(file.extension().string());
  return extension == ".jpg" || extension == ".jpeg";
}

std::optional<QImage> LoadJpeg(const std::filesystem::path& file) {
  const auto picture = LoadJpegFile(file);
  if (!picture) return std::nullopt;
  const QImage view(picture->pixels.data(), picture->width, picture->height,
                    picture->width * 3, QImage::Format_RGB888);
  return view.copy();  // the buffer goes with the picture
}

void MakeKeyTransparent(QImage& image) {
  const QRgb key = image.pixel(0, image.height() - 1);
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) line[x] = 0;
    }
  }
}

}  // namespace

std::optional<QImage> LoadFacePicture(const std::filesystem::path& file,
                                      bool transparent) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  if (IsJpegName(file)) return LoadJpeg(file);
  QImageReader reader(QString::fromStdString(file.string()));
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  if (transparent) MakeKeyTransparent(image);
  return image;
}

std::optional<QPixmap> FacePictureCache::Load(const std::filesystem::path& file,
                                              bool transparent) {
  std::error_code error;
  const auto modified = std::filesystem::last_write_time(file, error);
  const std::uintmax_t size =
      error ? 0 : std::filesystem::file_size(file, error);
  const auto known =
      std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.file == file && entry.transparent == transparent;
      });
  if (known != entries_.end()) {
    if (!error && known->modified == modified && known->size == size) {
      entries_.splice(entries_.begin(), entries_, known);
      return known->picture;
    }
    entries_.erase(known);
  }
  if (error) return std::nullopt;
  ++decodes_;
  std::optional<QPixmap> picture;
  if (auto image = LoadFacePicture(file, transparent)) {
    picture = QPixmap::fromImage(*image);
  }
  entries_.push_front(Entry{file, transparent, modified, size, picture});
  if (entries_.size() > capacity_) entries_.pop_back();
  return picture;
}

}  // namespace vigil
