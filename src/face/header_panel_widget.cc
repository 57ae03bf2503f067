#include "face/header_panel_widget.h"

#include <QLabel>

#include "face/widget_helpers_widget.h"

namespace vigil {
namespace {

constexpr int kLineHeight = 16;

QLabel* HeaderLabel(QWidget* parent, const char* name, const QString& text,
                    Rgb colour, bool bold) {
  auto* label = PlainLabel(parent, name, text);
  label->setFont(TextFont(bold));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(colour));
  label->setPalette(palette);
  return label;
}

}  // namespace

HeaderPanelWidget::HeaderPanelWidget(QWidget* parent) : QFrame(parent) {
  setObjectName("Panel3");
  setGeometry(4, 4, 161, 88);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  SetBackground(this, kWhite);
  x_cap01_ = HeaderLabel(this, "xCap01", "", kTeal, true);
  x_cap03_ = HeaderLabel(this, "xCap03", "", kTeal, true);
  x_cap02_ = HeaderLabel(this, "xCap02", "<xx:xx>", kTeal, true);
  static const char* const kNames[] = {"xCap001", "xCap002", "xCap003",
                                       "xCap004"};
  static const char* const kValues[] = {"pCap01", "pCap02", "pCap03", "pCap04"};
  static const char* const kTexts[] = {
      "Probe.:", "Group.:", "Device:", "Sensor:"};
  for (size_t i = 0; i < source_names_.size(); ++i) {
    source_names_[i] = HeaderLabel(this, kNames[i], kTexts[i], kMaroon, false);
    source_values_[i] = HeaderLabel(this, kValues[i], "", kTeal, false);
  }
  PlaceAcross(169);
  hide();
}

void HeaderPanelWidget::SetCaption(const std::string& caption) {
  x_cap01_->setText(ToQString(caption));
}

void HeaderPanelWidget::SetStatusCaption(const std::string& caption) {
  x_cap03_->setText(ToQString(caption));
}

std::string HeaderPanelWidget::status_caption() const {
  return x_cap03_->text().toStdString();
}

void HeaderPanelWidget::SetLastUpdate(const std::string& time) {
  x_cap02_->setText(ToQString(time));
}

void HeaderPanelWidget::SetSourceCaptions(
    const std::array<std::string, 4>& captions) {
  for (size_t i = 0; i < captions.size(); ++i) {
    source_values_[i]->setText(ToQString(captions[i]));
  }
}

void HeaderPanelWidget::ShortenForSensorModes() {
  resize(width(), 36);
  for (size_t i = 0; i < source_names_.size(); ++i) {
    source_names_[i]->hide();
    source_values_[i]->hide();
  }
}

void HeaderPanelWidget::PlaceAcross(int window_width) {
  setGeometry(4, 4, window_width - 8, height());
  const int w = width();
  x_cap01_->setGeometry(6, 3, w - 120, kLineHeight);
  x_cap03_->setGeometry(w - 108, 3, 46, kLineHeight);
  x_cap02_->setGeometry(w - 60, 3, 56, kLineHeight);
  for (size_t i = 0; i < source_names_.size(); ++i) {
    const int top = 20 + static_cast<int>(i) * kLineHeight;
    source_names_[i]->setGeometry(6, top, 50, kLineHeight);
    source_values_[i]->setGeometry(58, top, w - 64, kLineHeight);
  }
}

}  // namespace vigil
