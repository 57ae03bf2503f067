// What the face asks of its chart. The chart widgets live in a library of
// their own, with Qt Charts behind them, loaded when an orb first shows a
// chart: a listing, gauge or image orb never maps either.
#ifndef VIGIL_FACE_CHART_FACE_WIDGET_H_
#define VIGIL_FACE_CHART_FACE_WIDGET_H_

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

#include "face/chart_model.h"
#include "store/colour.h"

namespace vigil {

class ChartFace {
 public:
  // The legend as drawn: its entries' texts (cut where short of room) and
  // the rectangle of each colour box, in widget coordinates; empty while
  // the legend is hidden.
  struct LegendItem {
    QString text;
    QColor colour;
    QRect box;
  };

  virtual ~ChartFace() = default;

  virtual QWidget* widget() = 0;
  virtual int kind() const = 0;

  // Shows the content's active slots and takes its title: the series are
  // kept and given the new values while their shape holds, and made anew
  // otherwise; the legend and the title keep their visibility.
  virtual void Draw(const ChartContent& content) = 0;
  // The orb colour behind the chart.
  virtual void SetBackground(Rgb colour) = 0;
  virtual void SetLegendVisible(bool visible) = 0;
  virtual bool legend_visible() const = 0;
  virtual void SetTitleVisible(bool visible) = 0;
  virtual bool title_visible() const = 0;
  // The title text, shown while the title is visible.
  virtual void SetTitleText(const QString& title) = 0;
  virtual const std::vector<LegendItem>& legend_items() const = 0;
};

// The chart widget of kind 0 to 7, named "Chart" and two digits; nullptr,
// said once on stderr, when the chart library cannot be loaded.
ChartFace* NewChartFace(int kind, QWidget* parent);

}  // namespace vigil

// The chart library's one entry.
extern "C" {
using NewChartFaceFunction = vigil::ChartFace* (*)(int kind, QWidget* parent);
inline constexpr char kNewChartFaceSymbol[] = "VigilNewChartFace";
}

#endif  // VIGIL_FACE_CHART_FACE_WIDGET_H_
