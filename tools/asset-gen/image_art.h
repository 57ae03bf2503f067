// The images of the image face: simple pictures of what an orb watches.
#ifndef VIGIL_TOOLS_ASSET_GEN_IMAGE_ART_H_
#define VIGIL_TOOLS_ASSET_GEN_IMAGE_ART_H_

#include <QImage>

namespace vigil::asset_gen {

inline constexpr int kImageCount = 4;

// 0 a server rack, 1 a disk, 2 a network, 3 a processor chip.
QImage DrawImage(int number);

}  // namespace vigil::asset_gen

#endif  // VIGIL_TOOLS_ASSET_GEN_IMAGE_ART_H_
