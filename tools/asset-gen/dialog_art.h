// The settings dialog's background: a quiet surface the controls sit on.
#ifndef VIGIL_TOOLS_ASSET_GEN_DIALOG_ART_H_
#define VIGIL_TOOLS_ASSET_GEN_DIALOG_ART_H_

#include <QImage>

namespace vigil::asset_gen {

// Drawn at the dialog's size, 380 by 236; the dialog stretches it.
QImage DrawDialogBackground();

}  // namespace vigil::asset_gen

#endif  // VIGIL_TOOLS_ASSET_GEN_DIALOG_ART_H_
