// The face's own model: what it keeps between refreshes, the chart's
// history and the context menu. The session owns it beside the orb's
// state; the window binds it to the widgets.
#ifndef VIGIL_FACE_FACE_MODEL_H_
#define VIGIL_FACE_FACE_MODEL_H_

#include "face/chart_model.h"
#include "face/face_state.h"
#include "face/menu_state.h"

namespace vigil {

struct FaceModel {
  FaceState face;
  ChartState chart;
  MenuState menu;
};

}  // namespace vigil

#endif  // VIGIL_FACE_FACE_MODEL_H_
