// One of the orb's eight chart widgets (Chart00 to Chart07) on Qt Charts:
// draws the series slots the chart builder computed, in the series kinds of
// its chart kind, and a legend of its own below the plot: Qt's legend
// knows only series and bar sets, and its colour boxes are too small to
// read at the orb's size.
#ifndef VIGIL_FACE_ORB_CHART_WIDGET_H_
#define VIGIL_FACE_ORB_CHART_WIDGET_H_

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <vector>

#include "face/chart_face_widget.h"
#include "face/chart_model.h"
#include "face/chart_pieces.h"
#include "store/colour.h"

namespace vigil {

class ColourBarsItem;

class OrbChartWidget final : public QChartView, public ChartFace {
  Q_OBJECT

 public:
  // kind 0 to 7: bars, bar and lines, horizontal bars, stacked bars, areas,
  // lines, points, pie. The widget is named "Chart" and two digits.
  explicit OrbChartWidget(int kind, QWidget* parent = nullptr);

  QWidget* widget() override { return this; }
  int kind() const override { return kind_; }
  void Draw(const ChartContent& content) override;
  void SetBackground(Rgb colour) override;
  void SetLegendVisible(bool visible) override;
  bool legend_visible() const override { return legend_visible_; }
  void SetTitleVisible(bool visible) override;
  bool title_visible() const override { return title_visible_; }
  void SetTitleText(const QString& title) override;
  const std::vector<LegendItem>& legend_items() const override {
    return legend_items_;
  }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void drawForeground(QPainter* painter, const QRectF& rect) override;

 private:
  // Makes the plan's series anew.
  void DrawSeries(const ChartPlan& plan);
  // The bars of a bar piece, painted over its series; nullptr when the
  // series draws them itself.
  ColourBarsItem* PaintBars(QAbstractSeries* series, const ChartPiece& piece);
  void AddAxes();
  void ShowCategories(const QStringList& names);
  void ShowScale(const ValueScale& scale);
  void ApplyTitle();
  void ShowTitle();
  // Lays the legend out for the widget's size, makes room for it below the
  // plot, lets the category names give way to a legend that names the same
  // points and thins the value labels of a low plot.
  void ArrangeLegend();
  // Fills legend_items_ for rows within the given height, one row at
  // least; answers the height the legend takes.
  int PlaceLegend(int room);

  int kind_;
  // What is drawn, and the series made for each of its pieces.
  ChartPlan plan_;
  std::vector<QAbstractSeries*> series_;
  std::vector<ColourBarsItem*> painted_bars_;  // one per series, or nullptr
  bool legend_visible_ = false;
  bool title_visible_ = false;
  QString title_;
  std::vector<LegendEntry> legend_entries_;
  bool legend_lists_points_ = true;
  std::vector<LegendItem> legend_items_;
  // Entries left out for want of room: an ellipsis here says so.
  bool legend_cut_short_ = false;
  QPoint ellipsis_at_;
  QPointer<QBarCategoryAxis> categories_;
  QStringList category_names_;
  QPointer<QValueAxis> values_;
  int nice_ticks_ = 3;
};

// The widget behind a chart face that this library made.
inline OrbChartWidget* ChartOf(ChartFace* face) {
  return dynamic_cast<OrbChartWidget*>(face);
}

}  // namespace vigil

#endif  // VIGIL_FACE_ORB_CHART_WIDGET_H_
