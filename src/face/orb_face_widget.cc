#include "face/orb_face_widget.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTime>
#include <QTreeWidget>
#include <utility>

#include "face/chart_face_widget.h"
#include "face/face_picture_widget.h"
#include "face/face_pictures.h"
#include "face/processing_log_widget.h"
#include "face/start_strip_widget.h"
#include "face/widget_helpers_widget.h"
#include "store/config_record.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr char kGaugeFontFamily[] = "Times New Roman";
constexpr char kScratchFontFamily[] = "System";

// Captions break their lines with a carriage return.
QString CaptionText(const std::string& bytes) {
  QString text = ToQString(bytes);
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

void Place(QWidget* widget, const Rect& rect) {
  widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

// A label's text colour and, when opaque, its background.
void SetLabelColours(QLabel* label, Rgb text, std::optional<Rgb> background) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(text));
  if (background) palette.setColor(QPalette::Window, ToQColor(*background));
  label->setPalette(palette);
  label->setAutoFillBackground(background.has_value());
}

void SetPointSize(QWidget* widget, int point_size) {
  QFont font = widget->font();
  font.setPointSize(std::max(1, point_size));
  widget->setFont(font);
}

QLabel* BoldLabel(QWidget* parent, const char* name, const char* text,
                  const char* family) {
  auto* label = PlainLabel(parent, name, text);
  QFont font(family);
  font.setBold(true);
  label->setFont(font);
  label->setMargin(0);
  return label;
}

}  // namespace

OrbFaceWidget::OrbFaceWidget(QWidget* parent)
    : QWidget(parent),
      listing_(this, [this](QTreeWidget* view) { AdoptListing(view); }) {
  setObjectName("OrbFace");
  if (parent != nullptr) {
    setGeometry(parent->rect());
    parent->installEventFilter(this);
  } else {
    resize(169, 89);
  }
  for (int kind = 0; kind < kChartKinds; ++kind) {
    contents_[static_cast<size_t>(kind)] = NewChartContent();
  }
  CreateChartPanel();
  CreateGauge();
  CreateImagePanel();
  for (QWidget* child : findChildren<QWidget*>()) WatchMouse(child);
}

OrbFaceWidget::~OrbFaceWidget() = default;

void OrbFaceWidget::ShowProcessingLog(const ProcessingTable& table,
                                      const std::string& first_text_line,
                                      bool http) {
  // Made when first asked for: most orbs never show it.
  if (!processing_log_) {
    processing_log_ = std::make_unique<ProcessingLogWidget>(this);
    for (QWidget* child : findChildren<QWidget*>()) WatchMouse(child);
  }
  processing_log_->Show(table, first_text_line, http, listing_.geometry());
  listing_.SetVisible(false);
  SetChartVisible(false);
}

void OrbFaceWidget::HideProcessingLog() {
  if (processing_log_) processing_log_->Hide();
}

void OrbFaceWidget::ClearRoomForHeader() {
  QRect chart = look_.geometry;
  chart.moveTop(chart_top_before_header_);
  PlaceChart(chart);
}

void OrbFaceWidget::MakeRoomForHeader(int header_height, bool http) {
  QRect chart = look_.geometry;
  chart_top_before_header_ = chart.y();
  chrts_->setGeometry(chrts_->x(), chrts_->y() + 38, chrts_->width(),
                      chrts_->height() - 38);
  chart.setHeight(chart.height() - 38);
  const QRect listing = listing_.geometry();
  listing_.SetGeometry(listing.adjusted(0, 36, 0, 0));
  if (http) {
    chart = QRect(chart.x(), header_height - 36, chart.width(),
                  chart.height() - 50);
    listing_.SetGeometry(QRect(listing.x(), header_height + 6, listing.width(),
                               chart.height() + 2));
  }
  PlaceChart(chart);
}

void OrbFaceWidget::PlaceChart(const QRect& geometry) {
  look_.geometry = geometry;
  if (chart_ != nullptr) chart_->widget()->setGeometry(geometry);
}

void OrbFaceWidget::SyncChart() {
  const bool in_sight = look_.shown && gauge_->isHidden() && objct_->isHidden();
  if (!in_sight) {
    if (chart_ != nullptr) chart_->widget()->hide();
    return;
  }
  if (chart_ == nullptr) {
    chart_ = NewChartFace(current_chart_, chrts_);
    if (chart_ == nullptr) return;
    chart_->widget()->setGeometry(look_.geometry);
    chart_->SetBackground(look_.background);
    chart_->SetTitleText(look_.title);
    chart_->SetTitleVisible(look_.title_shown);
    chart_->SetLegendVisible(look_.legend);
    WatchMouse(chart_->widget());
    chart_drawn_ = false;
  }
  if (!chart_drawn_) {
    chart_->Draw(contents_[static_cast<size_t>(current_chart_)]);
    // The drawing takes the content's title; the look may have changed
    // it since.
    chart_->SetTitleText(look_.title);
    chart_->SetLegendVisible(look_.legend);
    chart_drawn_ = true;
  }
  chart_->widget()->show();
}

bool OrbFaceWidget::processing_log_visible() const {
  return processing_log_ && processing_log_->visible();
}

void OrbFaceWidget::CreateChartPanel() {
  chrts_ = Named(new QFrame(this), "Chrts");
  chrts_->setGeometry(4, 4, 161, 81);
  chrts_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  chrts_->setLineWidth(2);
  SetBackground(chrts_, kNeutral);

  image_ = new StartStripWidget(chrts_);
  image_->setGeometry(3, 3, 155, 23);
  title_ = BoldLabel(chrts_, "Title", "", "Arial");
  SetLabelColours(title_, kTeal, std::nullopt);
  title_->setGeometry(8, 7, 145, 14);
  title_->hide();
}

void OrbFaceWidget::CreateGauge() {
  gauge_ = Named(new QFrame(this), "Gauge");
  gauge_->setGeometry(4, 4, 161, 81);
  SetBackground(gauge_, kWhite);
  gauge0x_ = PlainLabel(gauge_, "Gauge0x");
  gauge0x_->setGeometry(1, 1, 155, 76);
  gauge0x_->setScaledContents(true);
  point_ = PlainLabel(gauge_, "Point");
  point_->setGeometry(32, 20, 105, 29);
  point_->setScaledContents(true);
  point_->hide();

  glab_[0] = BoldLabel(this, "GLab00", "Max", kScratchFontFamily);
  glab_[0]->hide();
  gauge_measure_ = BoldLabel(this, "GaugeMeasure", "", kGaugeFontFamily);
  gauge_measure_->hide();
  glab_[1] = BoldLabel(gauge_, "GLab01", "Caption", kGaugeFontFamily);
  glab_[1]->setAlignment(Qt::AlignCenter);
  glab_[2] = BoldLabel(gauge_, "GLab02", "Unit", kGaugeFontFamily);
  glab_[2]->setAlignment(Qt::AlignCenter);
  static constexpr const char* kMarkNames[] = {"GLab03", "GLab04", "GLab05",
                                               "GLab06", "GLab07", "GLab08"};
  static constexpr const char* kMarkTexts[] = {"100", "80", "60",
                                               "40",  "20", "0"};
  for (size_t i = 0; i < 6; ++i) {
    QLabel* mark =
        BoldLabel(gauge_, kMarkNames[i], kMarkTexts[i], kGaugeFontFamily);
    mark->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    glab_[3 + i] = mark;
  }
  glab_[9] = BoldLabel(gauge_, "GLab09", "Flag", kGaugeFontFamily);
  SetLabelColours(glab_[9], kBlack, kYellow);
  glab_[9]->hide();
  gauge_->hide();
}

void OrbFaceWidget::CreateImagePanel() {
  objct_ = Named(new QFrame(this), "Objct");
  objct_->setGeometry(4, 4, 161, 81);
  objct_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  objct_->setLineWidth(1);
  SetBackground(objct_, kWhite);
  image00_ = PlainLabel(objct_, "Image00");
  image00_->setGeometry(1, 0, 155, 56);
  image00_->setScaledContents(true);
  img_cap02_ = BoldLabel(objct_, "ImgCap02", "Caption", kGaugeFontFamily);
  img_cap02_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  img_cap02_->setWordWrap(true);
  SetLabelColours(img_cap02_, kBlack, kYellow);
  img_cap02_->setGeometry(1, 38, 155, 36);
  img_cap02_->hide();
  image01_ = Named(new QFrame(objct_), "Image01");
  image01_->setGeometry(1, 57, 155, 22);
  SetBackground(image01_, kPurple);
  img_cap01_ = BoldLabel(image01_, "ImgCap01", "Caption", kGaugeFontFamily);
  img_cap01_->setAlignment(Qt::AlignCenter);
  SetLabelColours(img_cap01_, kWhite, std::nullopt);
  img_cap01_->setGeometry(0, 0, 155, 22);
  objct_->hide();
}

void OrbFaceWidget::WatchMouse(QWidget* widget) {
  widget->installEventFilter(this);
  if (auto* view = qobject_cast<QAbstractScrollArea*>(widget)) {
    view->viewport()->installEventFilter(this);
  }
}

bool OrbFaceWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
    return false;
  }
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseButtonDblClick) {
    return false;
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  // An event that a child ignores travels on to its parent as a copy with
  // the same time and place: report it once.
  const MouseStamp stamp{type, mouse->timestamp(), mouse->globalPosition()};
  if (stamp == last_mouse_) return false;
  last_mouse_ = stamp;
  const QPoint global = mouse->globalPosition().toPoint();
  if (type == QEvent::MouseButtonPress) {
    emit Pressed(global);
  } else if (type == QEvent::MouseButtonDblClick) {
    double_click_release_pending_ = true;
    emit DoubleClicked();
  } else if (std::exchange(double_click_release_pending_, false)) {
    // The release that ends a double click is no click of its own.
  } else {
    emit Released(global);
    emit Clicked();
  }
  return false;
}

void OrbFaceWidget::ShowItemTable(const ItemTable& items) {
  listing_.ShowItems(items);
  SetOrbColour(items.colour());
}

void OrbFaceWidget::SetOrbColour(Rgb colour) {
  listing_.SetColour(colour);
  SetBackground(chrts_, colour);
  look_.background = colour;
  if (chart_ != nullptr) chart_->SetBackground(colour);
}

int OrbFaceWidget::MeasureText(FaceFont font, int point_size,
                               const std::string& text) {
  QLabel* label = font == FaceFont::kScratch ? glab_[0] : gauge_measure_;
  SetPointSize(label, point_size);
  label->setText(ToQString(text));
  label->adjustSize();
  return label->width();
}

GaugeGeometry OrbFaceWidget::CurrentGaugeGeometry() const {
  return {gauge_->x(), gauge_->width(), gauge_->height(), width()};
}

TextWidth OrbFaceWidget::Measurer() {
  return [this](FaceFont font, int point_size, const std::string& text) {
    return MeasureText(font, point_size, text);
  };
}

FaceRefreshPlan OrbFaceWidget::RefreshFace(const ItemTable& items,
                                           const OrbValues& values,
                                           const FaceSettings& settings,
                                           FaceState& state) {
  // A face that never shows its gauge never loads the fonts of its labels.
  const bool gauge_in_sight = !gauge_->isHidden();
  plan_ = PlanFaceRefresh(items, values, settings, CurrentGaugeGeometry(),
                          gauge_in_sight ? Measurer() : TextWidth(), state);
  picture_dir_ = settings.working_dir;
  gauge_placed_ = gauge_in_sight;
  ApplyPlan(*plan_);
  return *plan_;
}

void OrbFaceWidget::ApplyPlan(const FaceRefreshPlan& plan) {
  if (gauge_placed_) ApplyGauge(plan);
  ApplyImageCaption(plan);
  if (!objct_->isHidden()) ShowImage(plan);
  // Repaint now rather than run pending events, which could start a cycle
  // in the middle of this one.
  if (gauge_->isVisible()) gauge_->repaint();
  if (objct_->isVisible()) objct_->repaint();
}

// A missing or unreadable pointer picture leaves the one shown.
void OrbFaceWidget::ApplyGauge(const FaceRefreshPlan& plan) {
  ApplyGaugeLabels(plan);
  ApplyStateFlag(plan.flag);
  if (auto pointer = pictures_.Load(picture_dir_ / plan.pointer_file, true)) {
    point_->setPixmap(*pointer);
  }
}

void OrbFaceWidget::PlaceHiddenGauge() {
  if (gauge_placed_ || !plan_) return;
  PlaceGaugeTexts(CurrentGaugeGeometry(), Measurer(), *plan_);
  gauge_placed_ = true;
  ApplyGauge(*plan_);
}

void OrbFaceWidget::ApplyGaugeLabels(const FaceRefreshPlan& plan) {
  for (size_t i : {1, 3, 4, 5, 6, 7, 8}) {
    SetPointSize(glab_[i], plan.label_point_size);
  }
  SetPointSize(glab_[2], plan.value_point_size);

  QLabel* value = glab_[2];
  value->setText(ToQString(plan.value_label.text));
  value->setGeometry(plan.value_label.left, plan.value_label.top,
                     std::max(0, plan.value_label_width),
                     value->sizeHint().height());
  SetLabelColours(value, plan.label_colour, std::nullopt);

  for (size_t i = 0; i < plan.marks.size(); ++i) {
    QLabel* mark = glab_[3 + i];
    mark->setText(ToQString(plan.marks[i].text));
    mark->adjustSize();
    mark->move(plan.marks[i].left, plan.marks[i].top);
    SetLabelColours(mark, plan.label_colour, std::nullopt);
  }

  QLabel* caption_label = glab_[1];
  SetLabelColours(caption_label, plan.gauge_caption_colour, std::nullopt);
  caption_label->setText(ToQString(plan.gauge_caption.text));
  caption_label->adjustSize();
  caption_label->move(plan.gauge_caption.left, plan.gauge_caption.top);
}

void OrbFaceWidget::ApplyImageCaption(const FaceRefreshPlan& plan) {
  const ImageCaptionColours& caption = plan.image_caption_colours;
  SetLabelColours(
      img_cap02_, caption.text,
      caption.opaque ? std::optional<Rgb>(caption.background) : std::nullopt);
  img_cap01_->setText(CaptionText(plan.image_caption));
  img_cap02_->setText(img_cap01_->text());
}

void OrbFaceWidget::ApplyStateFlag(const StateFlag& plan_flag) {
  QLabel* flag = glab_[9];
  flag->hide();
  SetPointSize(flag, plan_flag.point_size);
  if (plan_flag.visible) {
    flag->setText(ToQString(plan_flag.text));
    SetLabelColours(flag, plan_flag.text_colour, plan_flag.background);
    flag->adjustSize();
    flag->move(plan_flag.left, plan_flag.top);
    flag->show();
    flag->raise();
  } else {
    flag->move(flag->x(), plan_flag.top);
  }
}

FaceGeometry OrbFaceWidget::FitBorderlessPanels(const FaceSettings& settings,
                                                const FaceState& state) {
  const FaceLayoutInput input{width(),
                              height(),
                              settings.header.frame_width,
                              look_.geometry.y(),
                              state.caption_shown,
                              settings.header.caption_size_offset};
  const FaceGeometry geometry = vigil::FitBorderlessPanels(input);
  ApplyPanels(geometry);
  return geometry;
}

void OrbFaceWidget::ApplyPanels(const FaceGeometry& geometry) {
  Place(objct_, geometry.image_panel);
  Place(image00_, geometry.image);
  Place(img_cap02_, geometry.image_caption);
  SetPointSize(img_cap02_, geometry.image_caption_point_size);
  img_cap02_->setVisible(geometry.image_caption_shown);
  if (geometry.image_caption_shown) img_cap02_->raise();

  Place(gauge_, geometry.gauge);
  Place(gauge0x_, geometry.dial);
  Place(chrts_, geometry.charts);
  PlaceChart(QRect(geometry.chart.left, geometry.chart.top,
                   geometry.chart.width, geometry.chart.height));
  listing_.SetGeometry(QRect(geometry.listing.left, geometry.listing.top,
                             geometry.listing.width, geometry.listing.height));

  for (QFrame* panel : {objct_, gauge_, chrts_}) {
    panel->setFrameShape(QFrame::NoFrame);
  }
  image01_->hide();
  Place(image_, geometry.start_picture);
  title_->setGeometry(8, 7, std::max(0, geometry.start_picture.width - 10), 14);
  title_->show();
}

std::optional<std::string> OrbFaceWidget::RelayoutFace(
    const ItemTable& items, const OrbValues& values,
    const FaceSettings& settings, const CellSize& cell, FaceState& state) {
  if (!state.relayout_request) return std::nullopt;
  state.relayout_request = false;
  RelayoutInput input;
  input.layout = {width(),
                  height(),
                  settings.header.frame_width,
                  look_.geometry.y(),
                  state.caption_shown,
                  settings.header.caption_size_offset};
  input.cell_width = cell.width;
  input.cell_height = cell.height;
  input.zoomed = state.zoomed;
  input.record_grid_size = settings.record.grid_size_text();
  const RelayoutGeometry geometry = vigil::RelayoutFace(input);
  ApplyPanels(geometry.panels);
  Place(point_, geometry.pointer);
  RefreshFace(items, values, settings, state);
  for (size_t i = 0; i < geometry.listing_columns.size(); ++i) {
    listing_.SetColumnWidth(static_cast<int>(i), geometry.listing_columns[i]);
  }
  point_->show();
  return geometry.grid_size_text;
}

int OrbFaceWidget::SelectChart(const ConfigRecord& record) {
  const int kind = CurrentChartKind(record);
  if (kind != current_chart_) {
    // A chart of another kind starts as a new widget would: hidden, with
    // neither legend nor title.
    delete chart_;
    chart_ = nullptr;
    look_.shown = false;
    look_.legend = false;
    look_.title_shown = false;
    look_.title.clear();
    current_chart_ = kind;
  }
  return current_chart_;
}

ChartFace* OrbFaceWidget::chart_widget(int kind) const {
  return kind == current_chart_ ? chart_ : nullptr;
}

ChartContent& OrbFaceWidget::chart_content(int kind) {
  return contents_[static_cast<size_t>(std::clamp(kind, 0, kChartKinds - 1))];
}

ChartBuildResult OrbFaceWidget::ChartClick(const ItemTable& items,
                                           const OrbValues& values,
                                           const FaceSettings& settings,
                                           ChartState& state, bool show) {
  const size_t kind = static_cast<size_t>(current_chart_);
  const std::string& title = settings.chart_title;
  ChartBuildInput input;
  input.chart_kind = current_chart_;
  input.record = settings.record;
  input.title = title;
  input.number_format = values.number_format;
  input.time_label = QTime::currentTime().toString("hh:mm").toStdString();
  const ChartBuildResult result =
      BuildChart(items, input, contents_[kind], state);
  if (result.hide_legend) look_.legend = false;
  if (show) {
    listing_.SetVisible(false);
    look_.shown = true;
  }
  if (result.history_shifted) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  RedrawChart();
  if (result.history_shifted) QApplication::restoreOverrideCursor();
  return result;
}

void OrbFaceWidget::RedrawChart() {
  // A drawing takes the content's title, as a hidden chart would have.
  look_.title = ToQString(contents_[static_cast<size_t>(current_chart_)].title);
  chart_drawn_ = false;
  SyncChart();
}

void OrbFaceWidget::SetLegendVisible(bool visible) {
  look_.legend = visible;
  if (chart_ != nullptr) chart_->SetLegendVisible(visible);
}

bool OrbFaceWidget::legend_visible() const { return look_.legend; }

void OrbFaceWidget::SetChartTitleVisible(bool visible) {
  look_.title_shown = visible;
  if (chart_ != nullptr) chart_->SetTitleVisible(visible);
}

bool OrbFaceWidget::chart_title_visible() const { return look_.title_shown; }

void OrbFaceWidget::SetChartTitle(const std::string& title) {
  look_.title = ToQString(title);
  if (chart_ != nullptr) chart_->SetTitleText(look_.title);
}

std::string OrbFaceWidget::chart_title() const {
  return look_.title.toStdString();
}

void OrbFaceWidget::SetTitle(const std::string& title) {
  title_->setText(ToQString(title));
}

// A hidden gauge's dial is read to tell whether it is a picture, and kept
// only once the gauge is shown: most orbs never show theirs.
bool OrbFaceWidget::LoadGaugePicture(const FaceSettings& settings,
                                     FaceState& state) {
  const std::string name = GaugeDialFile(settings.record);
  const std::filesystem::path file = settings.working_dir / name;
  if (gauge_->isHidden()) {
    if (!LoadFacePicture(file, false)) return false;
    hidden_dial_ = file;
  } else {
    const auto dial = pictures_.Load(file, false);
    if (!dial) return false;
    gauge0x_->setPixmap(*dial);
    hidden_dial_.reset();
  }
  state.gauge_picture_name = name;
  return true;
}

void OrbFaceWidget::ShowHiddenPictures() {
  if (!gauge_->isHidden() && hidden_dial_) {
    if (auto dial = pictures_.Load(*hidden_dial_, false)) {
      gauge0x_->setPixmap(*dial);
    }
    hidden_dial_.reset();
  }
  if (!objct_->isHidden() && plan_) ShowImage(*plan_);
}

// A missing or unreadable picture leaves the one shown.
void OrbFaceWidget::ShowImage(const FaceRefreshPlan& plan) {
  if (auto image = pictures_.Load(picture_dir_ / plan.image_file, false)) {
    image00_->setPixmap(*image);
  }
}

void OrbFaceWidget::SetListingVisible(bool visible) {
  listing_.SetVisible(visible);
}

bool OrbFaceWidget::listing_visible() const { return listing_.visible(); }

QTreeWidget* OrbFaceWidget::listing() { return listing_.view(); }

void OrbFaceWidget::AdoptListing(QTreeWidget* view) {
  connect(view->header(), &QHeaderView::sectionClicked, this,
          &OrbFaceWidget::ColumnClicked);
  // Just above the chart panel, as if made with it: the gauge, the image
  // panel and the processing log stay above it.
  view->stackUnder(chrts_);
  chrts_->stackUnder(view);
  WatchMouse(view);
}

void OrbFaceWidget::SetChartVisible(bool visible) {
  look_.shown = visible;
  SyncChart();
}

bool OrbFaceWidget::chart_visible() const { return look_.shown; }

void OrbFaceWidget::SetGaugeVisible(bool visible) {
  if (visible) PlaceHiddenGauge();
  gauge_->setVisible(visible);
  if (visible) {
    gauge_->raise();
    ShowHiddenPictures();
  }
  SyncChart();
}

bool OrbFaceWidget::gauge_visible() const { return !gauge_->isHidden(); }

void OrbFaceWidget::SetImageVisible(bool visible) {
  objct_->setVisible(visible);
  if (visible) {
    objct_->raise();
    ShowHiddenPictures();
  }
  SyncChart();
}

bool OrbFaceWidget::image_visible() const { return !objct_->isHidden(); }

}  // namespace vigil
