// The orb's list of 89 small images (16 x 16), drawn by the program.
#ifndef VIGIL_FACE_ORB_IMAGE_LIST_WIDGET_H_
#define VIGIL_FACE_ORB_IMAGE_LIST_WIDGET_H_

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace vigil {

// Drawn once per process, on first use (a QGuiApplication must exist).
const std::vector<QPixmap>& OrbImageList();

// The image at index; an empty icon outside 0..88.
QIcon OrbImage(int index);

}  // namespace vigil

#endif  // VIGIL_FACE_ORB_IMAGE_LIST_WIDGET_H_
