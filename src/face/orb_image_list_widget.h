// The orb's list of 89 small images (16 x 16), drawn by the program.
#ifndef VIGIL_FACE_ORB_IMAGE_LIST_WIDGET_H_
#define VIGIL_FACE_ORB_IMAGE_LIST_WIDGET_H_

#include <QIcon>
#include <QPixmap>

namespace vigil {

// The image at index, drawn once per process on first use (a
// QGuiApplication must exist); a null pixmap outside 0..88.
QPixmap OrbImagePixmap(int index);

// The image at index as an icon; an empty icon outside 0..88.
QIcon OrbImage(int index);

}  // namespace vigil

#endif  // VIGIL_FACE_ORB_IMAGE_LIST_WIDGET_H_
