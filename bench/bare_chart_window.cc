// The least Qt program that does what one chart orb shows: one Qt Charts
// bar chart in a frameless 169x89 window, its values replaced every 10 s.
// The orb's memory and start-up are measured against it.
#include <QApplication>
#include <QTimer>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>

namespace {

constexpr int kBars = 20;

void Fill(QBarSet* set, int round) {
  for (int i = 0; i < kBars; ++i) set->replace(i, (i * 7 + round * 3) % 23);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  auto* set = new QBarSet("Items");
  for (int i = 0; i < kBars; ++i) set->append(0);
  auto* series = new QBarSeries;
  series->append(set);
  auto* chart = new QChart;
  chart->addSeries(series);
  chart->createDefaultAxes();
  chart->legend()->hide();
  chart->setMargins(QMargins(0, 0, 0, 0));
  chart->setBackgroundRoundness(0);
  QChartView view(chart);
  view.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
  view.resize(169, 89);
  int round = 0;
  Fill(set, round);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    Fill(set, ++round);
    chart->axes(Qt::Vertical).front()->setRange(0, 23);
  });
  timer.start(10000);
  view.show();
  return app.exec();
}
