// The orb's face: every element of the inner area of the orb window, each
// with its name as objectName:
//   Chrts (panel) holding the chart of the current kind (Chart00 to
//     Chart07), the start picture Image and the title label Title; the
//     chart widget is made when it first comes into sight, and only for
//     the current kind;
//   View07, the listing of the item table, made when first shown;
//   Gauge (panel) with the dial Gauge0x, the pointer Point and the labels
//     GLab01 (caption), GLab02 (value), GLab03 to GLab08 (scale marks) and
//     GLab09 (state flag); GLab00 is the hidden label that measures texts;
//   Objct (panel) with the picture Image00, the caption ImgCap02 and the
//     caption bar Image01 with ImgCap01 (hidden in the borderless orb).
//
// Embedding: create it as a child of the orb window. It covers the window
// and follows its size; it paints no background of its own, so the
// window's frame colour shows around the panels. Positions are relative to
// the window, as the face layout gives them.
//
// The caller owns the state (FaceState, ChartState) and the data (item
// table, orb values, record); every operation takes them explicitly:
//   start-up:  SelectChart(record); SetTitle(title); FitBorderlessPanels;
//              RefreshFace twice; LoadGaugePicture; show a face;
//   a cycle:   ShowItemTable after the rules set the colour; RelayoutFace;
//              ChartClick; SetLegendVisible / SetChartTitleVisible from
//              columns 67 and 68; SetListingVisible / SetChartVisible;
//              RefreshFace;
//   the menu:  SetGaugeVisible / SetImageVisible / SetListingVisible /
//              SetChartVisible; "Reset Scale" sets gauge_max to 0 and runs
//              RefreshFace.
// Nothing here reads files other than the face's pictures, and nothing
// throws: a missing or unreadable picture leaves the previous one.
#ifndef VIGIL_FACE_ORB_FACE_WIDGET_H_
#define VIGIL_FACE_ORB_FACE_WIDGET_H_

#include <QEvent>
#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "face/chart_model.h"
#include "face/face_layout.h"
#include "face/face_picture_widget.h"
#include "face/face_refresh.h"
#include "face/face_state.h"
#include "face/lazy_listing_widget.h"
#include "monitor/item_table.h"
#include "store/orb_values.h"
#include "store/orbs_file.h"

class QFrame;
class QLabel;
class QTreeWidget;

namespace vigil {

class ChartFace;
class ProcessingLogWidget;

class OrbFaceWidget final : public QWidget {
  Q_OBJECT

 public:
  explicit OrbFaceWidget(QWidget* parent = nullptr);
  ~OrbFaceWidget() override;

  // "View Logging": the processing table and the first text line laid
  // over the listing, the listing and the chart hidden.
  void ShowProcessingLog(const ProcessingTable& table,
                         const std::string& first_text_line, bool http);
  void HideProcessingLog();
  bool processing_log_visible() const;

  // The zoom's header takes the top of the face: the chart panel and the
  // chart move down, the listing too; in the HttpOrb mode further, below
  // the header's source lines.
  void MakeRoomForHeader(int header_height, bool http);
  // Before the relayout of the return: the chart's top as it was, since
  // the relayout places the listing below it.
  void ClearRoomForHeader();

  // The listing: one row per item with its small image; the background
  // is the table's colour (the orb colour the rules gave it), which also
  // goes behind the charts.
  void ShowItemTable(const ItemTable& items);
  // The orb colour alone, for a table shown silver after a cycle without
  // data.
  void SetOrbColour(Rgb colour);

  // RefreshFace: brings the gauge and the image up to date and updates
  // GaugeMax, GaugePercent, CaptionShown and CannedResult in the state.
  // Returns the plan applied; its flags tell of an unreadable value or a
  // kept item that names no row.
  FaceRefreshPlan RefreshFace(const ItemTable& items, const OrbValues& values,
                              const FaceSettings& settings, FaceState& state);

  // FitBorderlessPanels: places the panels, pictures and the listing in
  // the window's current size. Returns the geometry, whose error_panel is
  // where the window puts Panel2.
  FaceGeometry FitBorderlessPanels(const FaceSettings& settings,
                                   const FaceState& state);

  // RelayoutFace: only while state.relayout_request is set, which it
  // clears; fits the panels, places the pointer, refreshes the face and
  // sets the listing's column widths. Returns the grid-size text for the
  // Save command (the stored one while zoomed), nullopt when it did
  // nothing.
  std::optional<std::string> RelayoutFace(const ItemTable& items,
                                          const OrbValues& values,
                                          const FaceSettings& settings,
                                          const CellSize& cell,
                                          FaceState& state);

  // The current chart: "Chart0" + column 18; a value outside "0" to "7"
  // falls back to Chart00. A previously current chart is removed; the
  // series of every kind stay.
  int SelectChart(const ConfigRecord& record);
  int current_chart() const { return current_chart_; }
  // The widget of the current chart once it was in sight; nullptr for any
  // other kind, and before.
  ChartFace* chart_widget(int kind) const;

  // ChartClick: rebuilds the current chart from the item table, hides the
  // listing and shows the chart. legend_allowed in the result tells
  // whether the menu's legend entry is enabled. With show false (a listing
  // orb's cycle) it rebuilds the series alone and leaves the face as it
  // is; the chart is drawn when it next comes into sight.
  ChartBuildResult ChartClick(const ItemTable& items, const OrbValues& values,
                              const FaceSettings& settings, ChartState& state,
                              bool show = true);
  // The series of a chart, for the alter-settings flow: it resets the tag
  // (history_started) or remaps a history, then calls RedrawChart.
  ChartContent& chart_content(int kind);
  void RedrawChart();

  // Legend and title of the current chart.
  void SetLegendVisible(bool visible);
  bool legend_visible() const;
  void SetChartTitleVisible(bool visible);
  bool chart_title_visible() const;
  void SetChartTitle(const std::string& title);
  std::string chart_title() const;

  // The title label above the listing.
  void SetTitle(const std::string& title);

  // Loads "Gauges/Gauge" + columns 34 and 37 + ".Jpg" into Gauge0x and
  // remembers its name; false (the dial unchanged) when it is missing.
  bool LoadGaugePicture(const FaceSettings& settings, FaceState& state);

  // Which face is shown. The gauge and the image panel cover the chart
  // and the listing while visible.
  void SetListingVisible(bool visible);
  bool listing_visible() const;
  // The listing's view, made if it was not yet (for tests: the face makes
  // it when it is first shown).
  QTreeWidget* listing();
  void SetChartVisible(bool visible);
  bool chart_visible() const;
  void SetGaugeVisible(bool visible);
  bool gauge_visible() const;
  void SetImageVisible(bool visible);
  bool image_visible() const;

 signals:
  // A click or a double click anywhere on the face (View07Click and
  // View07DblClick); the events still reach the elements and the window.
  void Clicked();
  void DoubleClicked();
  // The left button pressed and released on the face, at these screen
  // points (the release follows its press wherever the mouse went).
  void Pressed(const QPoint& global);
  void Released(const QPoint& global);
  // A click on a column header of the listing (View07ColumnClick).
  void ColumnClicked(int column);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateChartPanel();
  void CreateGauge();
  void CreateImagePanel();
  void WatchMouse(QWidget* widget);
  void AdoptListing(QTreeWidget* view);
  void ApplyPanels(const FaceGeometry& geometry);
  void ApplyPlan(const FaceRefreshPlan& plan);
  void ApplyGauge(const FaceRefreshPlan& plan);
  void ApplyGaugeLabels(const FaceRefreshPlan& plan);
  void ApplyImageCaption(const FaceRefreshPlan& plan);
  void ApplyStateFlag(const StateFlag& flag);
  // Places and shows the last plan's gauge texts, left unplaced while the
  // gauge was out of sight.
  void PlaceHiddenGauge();
  // The dial and the image of a face that has come into sight.
  void ShowHiddenPictures();
  void ShowImage(const FaceRefreshPlan& plan);
  GaugeGeometry CurrentGaugeGeometry() const;
  TextWidth Measurer();
  int MeasureText(FaceFont font, int point_size, const std::string& text);
  void PlaceChart(const QRect& geometry);
  // Makes, draws and shows the chart while it is in sight: shown and not
  // covered by the gauge or the image; hides it otherwise. A listing or
  // gauge orb never makes one, and a hidden chart is not redrawn.
  void SyncChart();

  // What the current chart shows, kept while it has no widget.
  struct ChartLook {
    bool shown = false;
    bool legend = false;
    bool title_shown = false;
    QString title;
    Rgb background = kNeutral;
    QRect geometry{3, 3, 157, 77};
  };
  int current_chart_ = 0;
  ChartFace* chart_ = nullptr;
  ChartLook look_;
  bool chart_drawn_ = false;  // the widget shows the current content
  std::array<ChartContent, kChartKinds> contents_;
  QFrame* chrts_ = nullptr;
  QWidget* image_ = nullptr;  // the start strip
  QLabel* title_ = nullptr;
  LazyListing listing_;
  QFrame* gauge_ = nullptr;
  QLabel* gauge0x_ = nullptr;
  QLabel* point_ = nullptr;
  std::array<QLabel*, 10> glab_{};   // GLab00 to GLab09
  QLabel* gauge_measure_ = nullptr;  // measures in the gauge labels' font
  QFrame* objct_ = nullptr;
  QLabel* image00_ = nullptr;
  QLabel* img_cap02_ = nullptr;
  QFrame* image01_ = nullptr;
  QLabel* img_cap01_ = nullptr;
  FacePictureCache pictures_;
  // The last refresh, for a gauge that comes into sight after it.
  std::optional<FaceRefreshPlan> plan_;
  std::filesystem::path picture_dir_;
  bool gauge_placed_ = false;
  std::optional<std::filesystem::path> hidden_dial_;  // read, not yet shown
  struct MouseStamp {
    QEvent::Type type = QEvent::None;
    quint64 time = 0;
    QPointF place;
    bool operator==(const MouseStamp&) const = default;
  };
  MouseStamp last_mouse_;
  bool double_click_release_pending_ = false;
  int chart_top_before_header_ = 0;
  std::unique_ptr<ProcessingLogWidget> processing_log_;
};

}  // namespace vigil

#endif  // VIGIL_FACE_ORB_FACE_WIDGET_H_
