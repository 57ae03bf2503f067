#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeWidget>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "face/chart_pieces.h"
#include "face/face_picture_widget.h"
#include "face/orb_chart_widget.h"
#include "face/orb_face_widget.h"
#include "face/orb_image_list_widget.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;

constexpr Rgb kWindowColour{10, 20, 30};  // what shows where nothing is drawn

bool Near(const QColor& colour, Rgb expected, int tolerance = 40) {
  return std::abs(colour.red() - expected.r) <= tolerance &&
         std::abs(colour.green() - expected.g) <= tolerance &&
         std::abs(colour.blue() - expected.b) <= tolerance;
}

int CountNear(const QImage& image, const QRect& area, Rgb expected) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (Near(image.pixelColor(x, y), expected)) ++count;
    }
  }
  return count;
}

void SavePicture(const std::filesystem::path& file, QColor colour,
                 const char* format, QSize size = {64, 32}) {
  std::filesystem::create_directories(file.parent_path());
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(colour);
  ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), format))
      << file;
}

// A pointer: see-through magenta with a solid block in the middle.
void SavePointer(const std::filesystem::path& file, QColor colour) {
  std::filesystem::create_directories(file.parent_path());
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(QColor(255, 0, 255));
  for (int y = 5; y < 15; ++y) {
    for (int x = 10; x < 30; ++x) picture.setPixelColor(x, y, colour);
  }
  ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), "BMP"));
}

class OrbFaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(169, 89);
    QPalette palette = window_.palette();
    palette.setColor(QPalette::Window,
                     QColor(kWindowColour.r, kWindowColour.g, kWindowColour.b));
    window_.setPalette(palette);
    window_.setAutoFillBackground(true);
    face_ = new OrbFaceWidget(&window_);
    settings_.working_dir = dir_.path();
    window_.show();
    table_.Append({"01:", "Disk C free", "42", "%", "clRed", 0});
    table_.Append({"02:", "Disk D free", "17", "%", "clRed", 0});
  }

  // The first layout, as the first cycle after start-up runs it.
  void Layout() {
    settings_.record = record_.Text();
    settings_.chart_title = settings_.record.tail().title;
    face_->SelectChart(settings_.record);
    face_->SetTitle("Disks");
    state_.relayout_request = true;
    ASSERT_TRUE(face_->RelayoutFace(table_, values_, settings_, cell_, state_));
  }

  QImage Grab() {
    QApplication::processEvents();
    QImage image = window_.grab().toImage();
    if (const char* dump = std::getenv("VIGIL_FACE_DUMP")) {
      image.save(QString("%1/%2.png").arg(dump).arg(++grabs_));
    }
    return image;
  }
  static inline int grabs_ = 0;

  template <typename Widget>
  Widget* Child(const char* name) {
    auto* child = face_->findChild<Widget*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  QRect InWindow(QWidget* widget) {
    return QRect(widget->mapTo(&window_, QPoint(0, 0)), widget->size());
  }

  TempDir dir_;
  QWidget window_;
  OrbFaceWidget* face_ = nullptr;
  RecordBuilder record_;
  FaceSettings settings_;
  FaceState state_;
  ChartState chart_state_;
  OrbValues values_ = InitialOrbValues("AuxOrb");
  CellSize cell_{169, 89};
  ItemTable table_;
};

TEST_F(OrbFaceTest, EveryElementCarriesItsName) {
  for (const char* name :
       {"Chrts",    "Image",    "Title",  "Gauge",  "Gauge0x", "Point",
        "GLab00",   "GLab01",   "GLab02", "GLab03", "GLab04",  "GLab05",
        "GLab06",   "GLab07",   "GLab08", "GLab09", "Objct",   "Image00",
        "ImgCap01", "ImgCap02", "Image01"}) {
    EXPECT_NE(face_->findChild<QWidget*>(name), nullptr) << name;
  }
  // Only the current kind's chart exists, once it was in sight.
  for (char kind : std::string("04")) {
    record_.chart_type = kind;
    Layout();
    face_->ChartClick(table_, values_, settings_, chart_state_);
    const auto charts = face_->findChildren<OrbChartWidget*>();
    ASSERT_EQ(charts.size(), 1) << kind;
    EXPECT_EQ(charts[0]->objectName(), QString("Chart0") + QChar(kind));
    EXPECT_EQ(charts[0]->kind(), kind - '0');
  }
  // The listing is made when it is first shown, just above the chart
  // panel: the gauge and the image panel still cover it.
  EXPECT_EQ(face_->findChild<QWidget*>("View07"), nullptr);
  face_->SetImageVisible(true);
  face_->SetGaugeVisible(true);
  face_->SetListingVisible(true);
  const QObjectList stack = face_->children();
  const auto* listing = face_->findChild<QWidget*>("View07");
  ASSERT_NE(listing, nullptr);
  EXPECT_EQ(stack.indexOf(listing), stack.indexOf(Child<QWidget>("Chrts")) + 1);
  EXPECT_LT(stack.indexOf(listing), stack.indexOf(Child<QWidget>("Gauge")));
  EXPECT_LT(stack.indexOf(listing), stack.indexOf(Child<QWidget>("Objct")));
}

// A listing or gauge orb needs no chart: its cycles build the series
// alone, and the chart is made and drawn when it comes into sight.
TEST_F(OrbFaceTest, AChartOutOfSightIsNeitherMadeNorDrawn) {
  struct Case {
    const char* face;
    char kind;
    bool show;
    bool gauge;
  };
  for (const Case& c :
       {Case{"listing", '0', false, false}, Case{"gauge", '4', true, true}}) {
    SCOPED_TRACE(c.face);
    face_->SetChartVisible(false);
    record_.chart_type = c.kind;
    Layout();
    face_->SetGaugeVisible(c.gauge);
    for (int cycle = 0; cycle < 2; ++cycle) {
      face_->ChartClick(table_, values_, settings_, chart_state_, c.show);
    }
    EXPECT_EQ(face_->chart_visible(), c.show);
    EXPECT_TRUE(face_->findChildren<OrbChartWidget*>().isEmpty());
    face_->SetGaugeVisible(false);
    face_->SetChartVisible(true);
    OrbChartWidget* chart = ChartOf(face_->chart_widget(c.kind - '0'));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_FALSE(chart->chart()->series().isEmpty());
  }
}

TEST_F(OrbFaceTest, RelayoutPlacesTheCompactFrameless) {
  Layout();
  face_->ChartClick(table_, values_, settings_, chart_state_);
  EXPECT_EQ(Child<QWidget>("Gauge")->geometry(), QRect(1, 1, 167, 87));
  EXPECT_EQ(Child<QWidget>("Point")->geometry(), QRect(41, 19, 83, 45));
  EXPECT_TRUE(Child<QWidget>("Point")->isVisibleTo(Child<QWidget>("Gauge")));
  EXPECT_EQ(Child<QWidget>("Chrts")->geometry(), QRect(1, 1, 167, 87));
  EXPECT_EQ(ChartOf(face_->chart_widget(0))->geometry(), QRect(0, 0, 166, 87));
  // The chart was at its designed top 3 before this first layout.
  // The listing, made now, takes the place it was given before.
  QTreeWidget* listing = face_->listing();
  EXPECT_EQ(listing->geometry(), QRect(1, 35, 166, 55));
  state_.relayout_request = true;
  const auto grid =
      face_->RelayoutFace(table_, values_, settings_, cell_, state_);
  EXPECT_EQ(grid, " 1  1");
  EXPECT_EQ(listing->y(), 32);
  EXPECT_EQ(listing->columnWidth(1), (166 * 100 - 2200) * 50 / 10000);
  // Without the request the relayout does nothing.
  EXPECT_FALSE(face_->RelayoutFace(table_, values_, settings_, cell_, state_));
}

TEST_F(OrbFaceTest, ListingShowsTheOrbColour) {
  Layout();
  table_.set_colour(kYellow);
  face_->ShowItemTable(table_);
  face_->SetChartVisible(false);
  face_->SetListingVisible(true);
  auto* listing = Child<QTreeWidget>("View07");
  ASSERT_EQ(listing->topLevelItemCount(), 2);
  EXPECT_EQ(listing->topLevelItem(1)->text(1), "Disk D free");
  EXPECT_FALSE(listing->topLevelItem(0)->icon(0).isNull());
  const QImage image = Grab();
  const QRect area = InWindow(listing);
  // Below the rows and in the empty right part of a row.
  EXPECT_TRUE(
      Near(image.pixelColor(area.center().x(), area.bottom() - 2), kYellow, 2));
  EXPECT_TRUE(
      Near(image.pixelColor(area.right() - 2, area.top() + 4), kYellow, 2));
}

TEST_F(OrbFaceTest, RedGaugeShowsTheAlertFlag) {
  SavePointer(dir_ / "Gauges/PtBlk80.Bmp", Qt::blue);
  Layout();
  values_.orb_colour = kRed;
  face_->RefreshFace(table_, values_, settings_, state_);
  face_->SetGaugeVisible(true);
  auto* flag = Child<QLabel>("GLab09");
  ASSERT_TRUE(flag->isVisible());
  EXPECT_EQ(flag->text(), " Alert ");
  EXPECT_EQ(Child<QLabel>("GLab02")->text(), "42 %");
  EXPECT_EQ(Child<QLabel>("GLab03")->text(), "50");
  const QImage image = Grab();
  const QRect area = InWindow(flag);
  // Red behind the small yellow text: most of the flag is red.
  EXPECT_GT(CountNear(image, area, kRed), area.width() * area.height() / 2);
  // The pointer picture 80 of the black style (42 of 50): opaque where
  // it is blue, see-through where it was magenta.
  const QRect pointer = InWindow(Child<QLabel>("Point"));
  EXPECT_GT(CountNear(image, pointer, kBlue), 100);
  EXPECT_EQ(CountNear(image, pointer, kFuchsia), 0);
}

TEST_F(OrbFaceTest, GaugeKeepsItsPointerWhenThePictureIsMissingOrBroken) {
  SavePointer(dir_ / "Gauges/PtBlk80.Bmp", Qt::blue);
  Layout();
  face_->SetGaugeVisible(true);
  auto* point = Child<QLabel>("Point");
  const qint64 first = point->pixmap().cacheKey();
  ASSERT_FALSE(point->pixmap().isNull());
  // 17 of 50 needs pointer 30, which is missing; 5 of 50 needs 10, broken.
  std::filesystem::create_directories(dir_ / "Gauges");
  dir_.Write("Gauges/PtBlk10.Bmp", "BM not really a bitmap");
  for (const char* data : {"17", "5"}) {
    table_[0].data = data;
    face_->RefreshFace(table_, values_, settings_, state_);
    EXPECT_EQ(point->pixmap().cacheKey(), first) << data;
  }
}

TEST_F(OrbFaceTest, ImageFaceShowsItsPictureAndCaption) {
  SavePicture(dir_ / "Images/Image00.Jpg", Qt::blue, "JPG");
  record_.tail = "Local.Prf;vigil-sensor;;Server / Disk";
  Layout();
  EXPECT_TRUE(Child<QLabel>("Image00")->pixmap().isNull());
  face_->SetImageVisible(true);
  auto* caption = Child<QLabel>("ImgCap02");
  EXPECT_TRUE(caption->isVisible());
  EXPECT_EQ(caption->text(), "Server\nDisk");
  EXPECT_TRUE(state_.canned_result);
  const QImage image = Grab();
  const QRect picture = InWindow(Child<QLabel>("Image00"));
  EXPECT_GT(CountNear(image, picture, kBlue), picture.width() * 10);
  // A broken image file leaves the picture in place.
  dir_.Write("Images/Image00.Jpg", "\xFF\xD8\xFF garbage");
  const qint64 before = Child<QLabel>("Image00")->pixmap().cacheKey();
  face_->RefreshFace(table_, values_, settings_, state_);
  EXPECT_EQ(Child<QLabel>("Image00")->pixmap().cacheKey(), before);
}

TEST_F(OrbFaceTest, EveryChartKindDrawsItsPoints) {
  for (char kind : std::string("01234567")) {
    SCOPED_TRACE(kind);
    record_.chart_type = kind;
    Layout();
    const ChartBuildResult result =
        face_->ChartClick(table_, values_, settings_, chart_state_);
    EXPECT_EQ(result.legend_allowed, kind != '1' && kind != '3' && kind != '6');
    OrbChartWidget* chart = ChartOf(face_->chart_widget(kind - '0'));
    EXPECT_TRUE(chart->isVisible());
    EXPECT_FALSE(face_->listing_visible());
    EXPECT_EQ(face_->findChildren<OrbChartWidget*>().size(), 1);
    // Both rows are "clRed": red must be drawn, and it is not the
    // background of this chart.
    const QImage image = Grab();
    const int minimum = kind == '5' ? 40 : kind == '6' ? 25 : 200;
    EXPECT_GT(CountNear(image, InWindow(chart), kRed), minimum);
  }
}

// The series of a chart and the objects each owns.
std::vector<QPointer<QObject>> DrawnObjects(QChart* chart) {
  std::vector<QPointer<QObject>> drawn;
  for (QAbstractSeries* series : chart->series()) {
    drawn.emplace_back(series);
    if (auto* area = qobject_cast<QAreaSeries*>(series)) {
      drawn.emplace_back(area->upperSeries());
    }
    if (auto* bars = qobject_cast<QAbstractBarSeries*>(series)) {
      for (QBarSet* set : bars->barSets()) drawn.emplace_back(set);
    }
  }
  return drawn;
}

// Every value the chart's series hold, whatever their kind.
std::vector<double> DrawnValues(QChart* chart) {
  std::vector<double> values;
  for (QAbstractSeries* series : chart->series()) {
    if (auto* area = qobject_cast<QAreaSeries*>(series)) {
      series = area->upperSeries();
    }
    if (auto* xy = qobject_cast<QXYSeries*>(series)) {
      for (const QPointF& point : xy->points()) values.push_back(point.y());
    } else if (auto* bars = qobject_cast<QAbstractBarSeries*>(series)) {
      for (QBarSet* set : bars->barSets()) {
        for (int i = 0; i < set->count(); ++i) values.push_back(set->at(i));
      }
    } else if (auto* pie = qobject_cast<QPieSeries*>(series)) {
      for (QPieSlice* slice : pie->slices()) values.push_back(slice->value());
    }
  }
  return values;
}

// Most cycles only move values: the chart keeps its series and axes and
// shows the new values. A new colour changes the series, and whatever the
// last drawing made goes with it, or the orb would grow a drawing a cycle.
TEST_F(OrbFaceTest, RedrawKeepsTheSeriesUnlessTheirShapeChanged) {
  const auto draw = [&](const char* value, const char* colour) {
    table_ = ItemTable();
    table_.Append({"01:", "Disk C free", value, "%", "clRed", 0});
    table_.Append({"02:", "Disk D free", "17", "%", colour, 0});
    face_->ChartClick(table_, values_, settings_, chart_state_);
  };
  const auto holds = [](const std::vector<double>& values, double value) {
    return std::find(values.begin(), values.end(), value) != values.end();
  };
  for (char kind : std::string("01234567")) {
    SCOPED_TRACE(kind);
    record_.chart_type = kind;
    Layout();
    // A first drawing with nothing to draw makes no series.
    face_->ChartClick(ItemTable(), values_, settings_, chart_state_);
    draw("42", "clRed");
    QChart* chart = ChartOf(face_->chart_widget(kind - '0'))->chart();
    const std::vector<QPointer<QObject>> first = DrawnObjects(chart);
    const QList<QAbstractAxis*> axes = chart->axes();
    ASSERT_FALSE(first.empty());

    draw("900", "clRed");
    EXPECT_EQ(DrawnObjects(chart), first);
    EXPECT_TRUE(holds(DrawnValues(chart), 900));
    EXPECT_FALSE(holds(DrawnValues(chart), 42));
    for (QAbstractAxis* axis : chart->axes()) {
      if (auto* values = qobject_cast<QValueAxis*>(axis)) {
        EXPECT_GE(values->max(), 900);  // the scale follows the values
      }
    }

    draw("900", "clLime");
    for (const QPointer<QObject>& object : first) {
      EXPECT_TRUE(object.isNull()) << object->metaObject()->className();
    }
    EXPECT_TRUE(holds(DrawnValues(chart), 900));
    EXPECT_EQ(chart->axes(), axes);
  }
}

// The chart sets its value axis only when the scale changes, so it works
// the scale out itself: as the toolkit's nice numbers would.
TEST(NiceScaleTest, AsTheToolkitsAxisWouldSetIt) {
  const ValueRange ranges[] = {{0, 1},     {0, 104.95},  {-2, 6.3},
                               {-37, 0.5}, {0, 0.00213}, {1e6, 3.3e6},
                               {-9.5, -1}, {0, 7},       {12, 13}};
  for (const ValueRange& range : ranges) {
    SCOPED_TRACE(range.high);
    QValueAxis axis;
    axis.setTickCount(3);
    axis.setRange(range.low, range.high);
    axis.applyNiceNumbers();
    const ValueScale scale = NiceScale(range, 3);
    EXPECT_DOUBLE_EQ(scale.low, axis.min());
    EXPECT_DOUBLE_EQ(scale.high, axis.max());
    EXPECT_EQ(scale.ticks, axis.tickCount());
  }
}

TEST_F(OrbFaceTest, ChartTitleAndLegendFollowTheCaller) {
  Layout();
  face_->ChartClick(table_, values_, settings_, chart_state_);
  EXPECT_EQ(face_->chart_title(), "My Title");
  EXPECT_FALSE(face_->chart_title_visible());
  face_->SetChartTitleVisible(true);
  face_->SetLegendVisible(true);
  face_->ChartClick(table_, values_, settings_, chart_state_);
  EXPECT_TRUE(face_->chart_title_visible());
  EXPECT_TRUE(face_->legend_visible());
  // A chart kind without a legend hides it at every build.
  record_.chart_type = '3';
  Layout();
  face_->SetLegendVisible(true);
  face_->ChartClick(table_, values_, settings_, chart_state_);
  EXPECT_FALSE(face_->legend_visible());
  EXPECT_TRUE(ChartOf(face_->chart_widget(3))->legend_items().empty());
}

// The legend names what the chart draws, in the colours it is drawn in,
// with boxes large enough to see, below a plot that keeps its height.
TEST_F(OrbFaceTest, LegendNamesTheDrawnItemsInTheirColours) {
  table_[1].color = "clBlue";
  struct Case {
    char kind;
    char mode;
    std::vector<QString> texts;
    std::vector<Rgb> colours;
  };
  const std::vector<QString> items = {"C free", "D free"};
  const Case cases[] = {
      {'0', '.', items, {kRed, kBlue}},
      {'2', '.', items, {kRed, kBlue}},
      {'4', '.', items, {kRed, kBlue}},
      {'5', '.', items, {kRed, kBlue}},
      {'7', '.', items, {kRed, kBlue}},
      // A history names its slots, by their shortened titles.
      {'5', 'x', {"D free", "C free"}, {kSlotColours[0], kSlotColours[1]}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((std::string{c.kind, c.mode}));
    record_.chart_type = c.kind;
    record_.chart_mode = c.mode;
    record_.chart_bars = c.mode == 'x' ? "0100xxxx" : "xxxxxxxx";
    Layout();
    face_->ChartClick(table_, values_, settings_, chart_state_);
    face_->ChartClick(table_, values_, settings_, chart_state_);
    face_->SetChartTitleVisible(true);
    face_->SetLegendVisible(true);
    OrbChartWidget* chart = ChartOf(face_->chart_widget(c.kind - '0'));
    const QImage image = Grab();
    const QRect plot = chart->chart()->plotArea().toRect();
    EXPECT_GE(plot.height(), 25);
    const auto& legend = chart->legend_items();
    ASSERT_EQ(legend.size(), c.texts.size());
    for (size_t i = 0; i < legend.size(); ++i) {
      EXPECT_EQ(legend[i].text, c.texts[i]);
      const QRect box = legend[i].box;
      EXPECT_GE(box.width(), 8);
      EXPECT_TRUE(chart->rect().contains(box));
      EXPECT_GE(box.top(), plot.bottom());
      const QPoint centre = chart->mapTo(&window_, box.center());
      EXPECT_TRUE(Near(image.pixelColor(centre), c.colours[i], 2)) << i;
      const QRect drawn(chart->mapTo(&window_, plot.topLeft()), plot.size());
      EXPECT_GT(CountNear(image, drawn, c.colours[i]), 20) << i;
    }
  }
  face_->SetLegendVisible(false);
  EXPECT_TRUE(ChartOf(face_->chart_widget(5))->legend_items().empty());
  EXPECT_EQ(ChartOf(face_->chart_widget(5))->chart()->margins().bottom(), 0);
}

TEST_F(OrbFaceTest, UnknownChartKindFallsBackToBars) {
  record_.chart_type = '5';
  Layout();
  ASSERT_EQ(face_->current_chart(), 5);
  std::string record = record_.Text();
  record[17] = '9';
  EXPECT_EQ(face_->SelectChart(record), 0);
}

TEST_F(OrbFaceTest, GaugePicture) {
  Layout();
  EXPECT_FALSE(face_->LoadGaugePicture(settings_, state_));
  EXPECT_EQ(state_.gauge_picture_name, "Init");
  SavePicture(dir_ / "Gauges/Gauge00.Jpg", QColor(0, 160, 0), "JPG");
  EXPECT_TRUE(face_->LoadGaugePicture(settings_, state_));
  EXPECT_EQ(state_.gauge_picture_name, "Gauges/Gauge00.Jpg");
  // A hidden gauge holds no dial.
  EXPECT_TRUE(Child<QLabel>("Gauge0x")->pixmap().isNull());
  face_->SetGaugeVisible(true);
  const QImage image = Grab();
  EXPECT_GT(CountNear(image, InWindow(Child<QLabel>("Gauge0x")), kGreen), 1000);
}

TEST_F(OrbFaceTest, DoubleClickOnTheListingIsReported) {
  Layout();
  face_->SetListingVisible(true);
  int double_clicks = 0;
  QObject::connect(face_, &OrbFaceWidget::DoubleClicked,
                   [&] { ++double_clicks; });
  QWidget* target = Child<QTreeWidget>("View07")->viewport();
  const QPointF at(10, 10);
  QMouseEvent event(QEvent::MouseButtonDblClick, at, target->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
  EXPECT_EQ(double_clicks, 1);
  // On a label the event travels on to the gauge panel: still one.
  face_->SetGaugeVisible(true);
  QWidget* label = Child<QLabel>("GLab02");
  const QPointF on_label(2, 2);
  QMouseEvent on_gauge(QEvent::MouseButtonDblClick, on_label,
                       label->mapToGlobal(on_label), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(label, &on_gauge);
  EXPECT_EQ(double_clicks, 2);
}

// Each refresh asks for its pictures again: a file is decoded once until it
// changes in time or in size, and a removed file is noticed.
TEST(FacePictureCacheTest, DecodesAFileAgainOnlyWhenItChanged) {
  namespace fs = std::filesystem;
  struct Rewrite {
    const char* what;
    QSize size;
    bool later;
  };
  for (const Rewrite& rewrite :
       {Rewrite{"same size, later", {64, 32}, true},
        Rewrite{"other size, same time", {32, 32}, false}}) {
    SCOPED_TRACE(rewrite.what);
    TempDir dir;
    const fs::path file = dir / "Gauges/PtBlk10.Bmp";
    SavePicture(file, Qt::blue, "BMP");
    FacePictureCache cache;
    const auto first = cache.Load(file, false);
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.Load(file, false)->cacheKey(), first->cacheKey());
    EXPECT_EQ(cache.decodes(), 1);

    const auto time = fs::last_write_time(file);
    const auto size = fs::file_size(file);
    SavePicture(file, Qt::red, "BMP", rewrite.size);
    ASSERT_EQ(fs::file_size(file) == size, rewrite.later);
    fs::last_write_time(file,
                        rewrite.later ? time + std::chrono::seconds(1) : time);
    const auto changed = cache.Load(file, false);
    ASSERT_TRUE(changed);
    EXPECT_EQ(cache.decodes(), 2);
    EXPECT_TRUE(Near(changed->toImage().pixelColor(5, 5), kRed));

    fs::remove(file);
    EXPECT_FALSE(cache.Load(file, false));
  }
}

// A gauge visits many pointer files over time: only the latest are kept.
TEST(FacePictureCacheTest, KeepsOnlyTheMostRecentlyUsed) {
  TempDir dir;
  for (const char* name : {"a.Bmp", "b.Bmp", "c.Bmp"}) {
    SavePicture(dir / name, Qt::blue, "BMP");
  }
  FacePictureCache cache(2);
  for (const char* name : {"a.Bmp", "b.Bmp", "a.Bmp", "c.Bmp", "a.Bmp"}) {
    ASSERT_TRUE(cache.Load(dir / name, false)) << name;
  }
  EXPECT_EQ(cache.decodes(), 3);  // "a" was used more recently than "b"
  ASSERT_TRUE(cache.Load(dir / "b.Bmp", false));
  EXPECT_EQ(cache.decodes(), 4);
}

TEST(OrbImageListTest, EightyNineSmallImagesWithStateDots) {
  for (int index = 0; index < 89; ++index) {
    EXPECT_EQ(OrbImagePixmap(index).size(), QSize(16, 16)) << index;
  }
  const QImage red_dot = OrbImagePixmap(64).toImage();
  EXPECT_TRUE(Near(red_dot.pixelColor(9, 9), kRed, 60));
  const QImage lime_dot = OrbImagePixmap(62).toImage();
  EXPECT_TRUE(Near(lime_dot.pixelColor(9, 9), kLime, 60));
  EXPECT_TRUE(OrbImage(89).isNull());
  EXPECT_TRUE(OrbImagePixmap(-1).isNull());
}

}  // namespace
}  // namespace vigil
