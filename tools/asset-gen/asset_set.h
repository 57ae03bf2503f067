// Writes the demo's artwork into a directory, in the layout the orbs look
// for: Gauges/Gauge00.Jpg ..., Gauges/PtBlk00.Bmp ..., Images/Image00.Jpg ...
#ifndef VIGIL_TOOLS_ASSET_GEN_ASSET_SET_H_
#define VIGIL_TOOLS_ASSET_GEN_ASSET_SET_H_

#include <QString>
#include <filesystem>
#include <vector>

namespace vigil::asset_gen {

inline constexpr int kGaugeCount = 4;  // two pairs of light and dark dials

struct AssetReport {
  std::vector<std::filesystem::path> written;
  QString error;  // empty when every file was written
};

AssetReport WriteAssets(const std::filesystem::path& directory);

}  // namespace vigil::asset_gen

#endif  // VIGIL_TOOLS_ASSET_GEN_ASSET_SET_H_
