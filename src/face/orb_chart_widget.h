// One of the orb's eight chart widgets (Chart00 to Chart07) on Qt Charts:
// draws the series slots the chart builder computed, in the series kinds of
// its chart kind.
#ifndef VIGIL_FACE_ORB_CHART_WIDGET_H_
#define VIGIL_FACE_ORB_CHART_WIDGET_H_

#include <QString>
#include <QtCharts/QChartView>

#include "face/chart_model.h"
#include "store/colour.h"

namespace vigil {

class OrbChartWidget : public QChartView {
  Q_OBJECT

 public:
  // kind 0 to 7: bars, bar and lines, horizontal bars, stacked bars, areas,
  // lines, points, pie. The widget is named "Chart0" + kind.
  explicit OrbChartWidget(int kind, QWidget* parent = nullptr);

  int kind() const { return kind_; }

  // Replaces the drawn series by the content's active slots and takes its
  // title; the legend and the title keep their visibility.
  void Draw(const ChartContent& content);

  // The orb colour behind the chart.
  void SetBackground(Rgb colour);

  void SetLegendVisible(bool visible);
  bool legend_visible() const { return legend_visible_; }
  void SetTitleVisible(bool visible);
  bool title_visible() const { return title_visible_; }
  // The title text, shown while the title is visible.
  void SetTitleText(const QString& title);
  const QString& title_text() const { return title_; }

 private:
  void DrawPie(const ChartContent& content);
  void DrawAxes(const ChartContent& content);
  void ApplyTitle();

  int kind_;
  bool legend_visible_ = false;
  bool title_visible_ = false;
  QString title_;
};

}  // namespace vigil

#endif  // VIGIL_FACE_ORB_CHART_WIDGET_H_
