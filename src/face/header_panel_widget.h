// Panel3, the header a zoomed orb shows above its face: the orb caption
// xCap01, the status and last-update captions xCap03 and xCap02, and in
// the HttpOrb mode the probe, group, device and sensor lines (xCap001 to
// xCap004 with their values pCap01 to pCap04).
#ifndef VIGIL_FACE_HEADER_PANEL_WIDGET_H_
#define VIGIL_FACE_HEADER_PANEL_WIDGET_H_

#include <QFrame>
#include <array>
#include <string>

class QLabel;

namespace vigil {

class HeaderPanelWidget final : public QFrame {
  Q_OBJECT

 public:
  explicit HeaderPanelWidget(QWidget* parent);

  void SetCaption(const std::string& caption);        // xCap01
  void SetStatusCaption(const std::string& caption);  // xCap03
  std::string status_caption() const;
  void SetLastUpdate(const std::string& time);  // xCap02
  // The "@" line: probe, group, device, sensor.
  void SetSourceCaptions(const std::array<std::string, 4>& captions);
  // The RfcOrb and AuxOrb modes show no source lines: 36 pixels high.
  void ShortenForSensorModes();
  // At (4, 4) across the orb's width, captions to the right.
  void PlaceAcross(int window_width);

 private:
  QLabel* x_cap01_ = nullptr;
  QLabel* x_cap02_ = nullptr;
  QLabel* x_cap03_ = nullptr;
  std::array<QLabel*, 4> source_names_{};   // xCap001 to xCap004
  std::array<QLabel*, 4> source_values_{};  // pCap01 to pCap04
};

}  // namespace vigil

#endif  // VIGIL_FACE_HEADER_PANEL_WIDGET_H_
