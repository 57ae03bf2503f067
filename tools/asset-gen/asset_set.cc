#include "asset-gen/asset_set.h"

#include <QImage>
#include <system_error>

#include "asset-gen/dial_art.h"
#include "asset-gen/dialog_art.h"
#include "asset-gen/image_art.h"
#include "asset-gen/pointer_art.h"

namespace vigil::asset_gen {
namespace {

QString TwoDigits(int number) {
  return QString("%1").arg(number, 2, 10, QChar('0'));
}

bool Save(const QImage& image, const std::filesystem::path& file,
          const char* format, AssetReport& report) {
  // The names end in ".Jpg" and ".Bmp": the format is given, not guessed.
  if (!image.save(QString::fromStdString(file.string()), format, 90)) {
    report.error = "cannot write " + QString::fromStdString(file.string());
    return false;
  }
  report.written.push_back(file);
  return true;
}

}  // namespace

AssetReport WriteAssets(const std::filesystem::path& directory) {
  AssetReport report;
  const auto gauges = directory / "Gauges";
  const auto images = directory / "Images";
  std::error_code error;
  std::filesystem::create_directories(gauges, error);
  std::filesystem::create_directories(images, error);
  if (error) {
    report.error = QString::fromStdString(error.message());
    return report;
  }
  for (int number = 0; number < kGaugeCount; ++number) {
    const auto file =
        gauges / ("Gauge" + TwoDigits(number) + ".Jpg").toStdString();
    if (!Save(DrawDial(DialStyleFor(number)), file, "JPG", report)) {
      return report;
    }
  }
  for (const PointerStyle& style : PointerStyles()) {
    for (int part : PointerParts()) {
      const auto file =
          gauges / (style.name + TwoDigits(part) + ".Bmp").toStdString();
      if (!Save(DrawPointer(style, part), file, "BMP", report)) return report;
    }
  }
  for (int number = 0; number < kImageCount; ++number) {
    const auto file =
        images / ("Image" + TwoDigits(number) + ".Jpg").toStdString();
    if (!Save(DrawImage(number), file, "JPG", report)) return report;
  }
  Save(DrawDialogBackground(), images / "Sett.Jpg", "JPG", report);
  return report;
}

}  // namespace vigil::asset_gen
