#include "shell/orb_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <map>
#include <utility>

#include "face/chart_title.h"
#include "face/face_layout.h"
#include "face/face_pictures.h"
#include "face/widget_helpers_widget.h"
#include "prtg/prtg_browser.h"
#include "shell/desktop_notifier_widget.h"
#include "shell/grid_placement.h"
#include "shell/orb_commands.h"
#include "shell/platform_choice.h"
#include "shell/termination_request.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr int kDesignWidth = 169;
constexpr int kDesignHeight = 89;

std::vector<DesktopMonitor> DesktopMonitors() {
  std::vector<DesktopMonitor> monitors;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect rect = screen->geometry();
    monitors.push_back({screen->name().toStdString(),
                        {rect.x(), rect.y(), rect.width(), rect.height()},
                        screen == primary});
  }
  return monitors;
}

QTimer* MakeTimer(QWidget* parent, const char* name, int interval) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  timer->setInterval(interval);
  return timer;
}

}  // namespace

OrbWindow::OrbWindow(std::string mode_word, const CommandLine& command_line,
                     std::filesystem::path working_dir,
                     std::string computer_name)
    : session_(std::move(mode_word), command_line, std::move(working_dir),
               std::move(computer_name)) {
  setObjectName("OrbWindow");
  // A bare rectangle: no caption bar, no border, no task bar entry.
  setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
  resize(kDesignWidth, kDesignHeight);
  if (command_line.smart) {
    QTimer::singleShot(500, this, [this] { resize(168, 93); });
  }
  CreateWidgets();
}

OrbWindow::~OrbWindow() { session_.DestroyCleanUp(); }

void OrbWindow::CreateWidgets() {
  // The children take their palette from here once; the frame colour that
  // changes several times a cycle is painted, not passed down to them all.
  SetBackground(this, kNeutral);
  setAutoFillBackground(false);
  timer1_ = MakeTimer(this, "Timer1", 2000);
  timer2_ = MakeTimer(this, "Timer2", 2000);
  timer3_ = MakeTimer(this, "Timer3", 1000);
  timer4_ = MakeTimer(this, "Timer4", 2500);
  connect(timer1_, &QTimer::timeout, this, &OrbWindow::Timer1Timer);
  connect(timer2_, &QTimer::timeout, this, &OrbWindow::Timer2Timer);
  connect(timer3_, &QTimer::timeout, this, &OrbWindow::Timer3Timer);
  connect(timer4_, &QTimer::timeout, this, &OrbWindow::Timer4Timer);
  timer1_->start();

  face_ = new OrbFaceWidget(this);
  face_->setGeometry(rect());
  connect(face_, &OrbFaceWidget::Clicked, this, &OrbWindow::View07Click);
  connect(face_, &OrbFaceWidget::DoubleClicked, this,
          &OrbWindow::View07DblClick);
  connect(face_, &OrbFaceWidget::ColumnClicked, this, &OrbWindow::Sort);
  connect(face_, &OrbFaceWidget::Pressed, this, &OrbWindow::FaceMouseDown);
  connect(face_, &OrbFaceWidget::Released, this, &OrbWindow::FaceMouseUp);
  WatchMonitors();
  label1_ = PlainLabel(this, "Label1");
  label1_->setGeometry(6, kDesignHeight - 20, kDesignWidth - 12, 16);
  startup_label_ = PlainLabel(this, "Label2", "Starting...");
  startup_label_->setGeometry(6, 24, kDesignWidth - 12, 20);
  startup_label_->setAlignment(Qt::AlignCenter);
  startup_label_->setFont(TextFont());

  panel3_ = new HeaderPanelWidget(this);

  panel2_ = Named(new QWidget(this), "Panel2");
  SetBackground(panel2_, kSilver);
  label5_ = PlainLabel(panel2_, "Label5");
  label5_->setWordWrap(true);
  label5_->setAlignment(Qt::AlignCenter);
  QFont error_font = label5_->font();
  error_font.setBold(true);
  label5_->setFont(error_font);
  butt00_ = Named(new QPushButton("OK", panel2_), "Butt00");
  butt00_->hide();
  connect(butt00_, &QPushButton::clicked, this, &OrbWindow::Butt00Click);
  panel2_->hide();
  FaceLayoutInput input;
  input.window_width = width();
  input.window_height = height();
  PlaceErrorPanel(vigil::FitBorderlessPanels(input).error_panel);
}

void OrbWindow::WatchMonitors() {
  // After the change is whole: a removed screen may still be listed while
  // its signal runs.
  const auto follow = [this] {
    QTimer::singleShot(0, this, &OrbWindow::FollowMonitors);
  };
  const auto watch = [this, follow](QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, follow);
  };
  for (QScreen* screen : QGuiApplication::screens()) watch(screen);
  connect(qApp, &QGuiApplication::screenAdded, this,
          [watch, follow](QScreen* screen) {
            watch(screen);
            follow();
          });
  connect(qApp, &QGuiApplication::screenRemoved, this, follow);
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, follow);
}

void OrbWindow::FollowMonitors() {
  if (!placed_ || !placement_available_) return;
  if (!session_.FollowMonitors(DesktopMonitors())) return;
  if (Model().face.zoomed) {
    Unzoom();
    return;
  }
  const WindowRect& home = session_.home();
  setGeometry(home.left, home.top, home.width, home.height);
}

// A cycle while zoomed draws the title anew: it keeps the unit.
std::string OrbWindow::ChartTitle() const {
  const OrbState& state = session_.state();
  const std::string& title = state.record().tail().title;
  return Model().face.zoomed ? TitleWithUnit(title, Model().chart.chart_unit)
                             : title;
}

FaceSettings OrbWindow::Settings() const {
  const OrbState& state = session_.state();
  FaceSettings settings;
  settings.record = state.record();
  settings.chart_title = ChartTitle();
  settings.has_rules = !state.config.rules.empty();
  settings.header = state.header;
  settings.working_dir = session_.working_dir();
  return settings;
}

void OrbWindow::PlaceErrorPanel(const Rect& panel) {
  panel2_->setGeometry(panel.left, panel.top, panel.width, panel.height);
  label5_->setGeometry(4, 4, panel.width - 8, panel.height - 34);
  butt00_->setGeometry((panel.width - 50) / 2, panel.height - 28, 50, 24);
}

void OrbWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!initialised_) Initialise();
}

void OrbWindow::Initialise() {
  initialised_ = true;
  setWindowTitle(ToQString(session_.window_caption()));
  label1_->setText(ToQString(session_.version_text()));
  Model().face.relayout_request = true;
  session_.set_startup_stage(StartupStage::kPreparationPending);
}

void OrbWindow::Timer1Timer() {
  timer1_->stop();
  timer2_->start();
  if (session_.startup_stage() == StartupStage::kPreparationPending) {
    session_.Prepare();
    startup_label_->hide();
    timer1_->start();
    return;
  }
  if (session_.startup_stage() != StartupStage::kStartupPending) return;
  const auto started = session_.StartUp(*this, DesktopMonitors());
  if (started) ApplyStartedOrb(*started);
}

void OrbWindow::ApplyStartedOrb(const StartedOrb& orb) {
  setGeometry(orb.window.left, orb.window.top, orb.window.width,
              orb.window.height);
  face_->setGeometry(rect());
  face_->SelectChart(session_.record());
  face_->SetTitle(orb.title);
  face_->SetChartTitle(orb.title);
  face_->SetChartTitleVisible(session_.record().title_shown());
  panel3_->SetCaption(orb.caption);
  panel3_->SetSourceCaptions(session_.state().captions);
  FitBorderlessPanels();
  if (!session_.state().http()) panel3_->ShortenForSensorModes();
  RefreshFace();
  face_->LoadGaugePicture(Settings(), session_.face_model().face);
  ShowStartFace(session_.record().face_mode());
  timer2_->start();
  timer3_->setInterval(1000);
  timer3_->start();
  Model().menu.SetSettingsAvailable(true);
  placed_ = true;
  placement_available_ =
      PlacesWindows(QGuiApplication::platformName().toStdString());
  if (!placement_available_) {
    session_.event_log().Log("Fail", std::string(kNoPlacementLog));
  }
}

void OrbWindow::ShowStartFace(char face_mode) {
  if (face_mode != '3' && face_mode != '4') return;
  // Gauge and image faces cover the chart and the listing.
  Model().face.gauge_chosen = true;
  face_->SetListingVisible(false);
  face_->SetChartVisible(false);
  face_->SetGaugeVisible(face_mode == '3');
  face_->SetImageVisible(face_mode == '4');
  if (face_mode == '4') Relayout();
}

void OrbWindow::FitBorderlessPanels() {
  face_->setGeometry(rect());
  PlaceErrorPanel(
      face_->FitBorderlessPanels(Settings(), session_.face_model().face)
          .error_panel);
  label1_->hide();
}

void OrbWindow::Relayout() {
  // A top-level window takes its new size later: the face takes it now.
  face_->setGeometry(rect());
  OrbState& state = session_.state();
  Model().face.relayout_request = true;
  if (auto grid = face_->RelayoutFace(state.items, state.values, Settings(),
                                      state.cell, Model().face)) {
    KeepGridSize(*grid);
  }
}

// Where the compositor sizes the window, its size is not the orb's: the
// record keeps the one stored.
void OrbWindow::KeepGridSize(const std::string& grid_size_text) {
  if (placement_available_) session_.state().grid_size_text = grid_size_text;
}

GridSize OrbWindow::StoredGridSize() const {
  return ParseGridSizeText(session_.record().grid_size_text())
      .value_or(GridSize{});
}

void OrbWindow::RefreshFace() {
  OrbState& state = session_.state();
  face_->RefreshFace(state.items, state.values, Settings(), Model().face);
}

SaveOutcome OrbWindow::Save(const std::optional<MoveNote>& move_note) {
  const SaveOutcome outcome = session_.Save(*this, move_note);
  if (outcome == SaveOutcome::kSaved) ReloadGaugePicture();
  return outcome;
}

void OrbWindow::ReloadGaugePicture() {
  FaceState& face = session_.face_model().face;
  if (GaugeDialFile(session_.record()) != face.gauge_picture_name) {
    face_->LoadGaugePicture(Settings(), face);
  }
}

void OrbWindow::Timer2Timer() {
  if (top_most_release_) {
    top_most_release_ = false;
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    show();
  }
  if (!session_.cycle_running() && TakeEndOfProcessingRequest(session_)) {
    StopAllTimers();
    close();
  }
}

void OrbWindow::Timer3Timer() {
  // A tick while a cycle waits for its lock or a message box: that cycle
  // re-arms the timer when it ends.
  if (session_.cycle_running()) return;
  timer3_->stop();
  if (hidden_by_command_) {
    hidden_by_command_ = false;
    show();
  }
  const CycleReport report = session_.RunCycle(*this);
  if (!closing_) ApplyCycleReport(report);
}

void OrbWindow::ApplyCycleReport(const CycleReport& report) {
  using Path = CycleReport::Path;
  switch (report.path) {
    case Path::kEndOfProcessing:
      // The request's files are gone already.
      StopAllTimers();
      StopOrb(session_);
      close();
      return;
    case Path::kGaveUp:
      // A sensor run given up for a signal or the end-of-processing file.
      TakeEndOfProcessingRequest(session_);
      close();
      return;
    case Path::kProgramFailed:
      title_alarm_ = true;
      if (settings_dialog_) settings_dialog_->SetTitleAlarm(true);
      break;
    case Path::kSensorMissing:
      face_->SetGaugeVisible(false);
      face_->SetImageVisible(false);
      break;
    case Path::kNoData:
      // An unattended HttpOrb orb retries by itself: nothing to resume.
      if (!session_.state().unattended()) {
        Model().menu.SetSuspended(true);
      }
      face_->SetOrbColour(kSilver);
      RefreshFace();
      break;
    case Path::kGood:
      ApplyGoodCycle(report);
      break;
    default:
      break;
  }
  ApplyMenuAfterCycle(report);
  NotifyDesktop(report);
  if (report.rearm) {
    timer3_->setInterval(static_cast<int>(report.rearm->count()));
    timer3_->start();
  }
}

void OrbWindow::NotifyDesktop(const CycleReport& report) {
  const OrbState& state = session_.state();
  if (!state.header.notify_desktop) return;
  const std::string title = state.record().tail().title;
  const auto notice = DesktopNoticeFor({report.state_code, report.state_changed,
                                        state.mode_word, session_.orb_number(),
                                        title, report.no_data_message});
  if (!notice) return;
  if (notifier_ == nullptr) notifier_ = new DesktopNotifier(this);
  notifier_->Send(*notice);
}

void OrbWindow::ApplyGoodCycle(const CycleReport& report) {
  OrbState& state = session_.state();
  panel3_->SetLastUpdate(report.last_update);
  face_->ShowItemTable(state.items);
  const FaceSettings settings = Settings();
  if (auto grid = face_->RelayoutFace(state.items, state.values, settings,
                                      state.cell, Model().face)) {
    KeepGridSize(*grid);
  }
  const ChartBuildResult chart = face_->ChartClick(
      state.items, state.values, settings, Model().chart, !ListingShown());
  Model().menu.EnableAfterData(chart.legend_allowed);
  ShowChartOrListing(chart);
  if (report.rules.show_legend_and_title) {
    face_->SetLegendVisible(true);
    face_->SetChartTitleVisible(true);
  }
  if (report.rules.zoom) ZoomOnAlert();
  if (report.rules.unzoom) Unzoom();
  if (state.header.hide_while_green) {
    const Rgb colour = report.rules.orb_colour;
    setVisible(colour == kYellow || colour == kRed);
  }
  RefreshFace();
  if (state.header.frame_width == 0) SetFrameColour(kWhite);
}

void OrbWindow::ShowChartOrListing(const ChartBuildResult& chart) {
  const ConfigRecord& record = session_.record();
  face_->SetLegendVisible(chart.legend_allowed && !chart.hide_legend &&
                          record.legend_shown());
  face_->SetChartTitleVisible(record.title_shown());
  ShowChartOrListingOfRecord();
}

void OrbWindow::ApplyMenuAfterCycle(const CycleReport& report) {
  MenuState& menu = session_.face_model().menu;
  if (report.path == CycleReport::Path::kNoData) menu.DisableAfterNoData();
  if (report.path == CycleReport::Path::kNoData ||
      report.path == CycleReport::Path::kGood) {
    menu.ShowViewLogging(report.show_view_logging);
  }
}

void OrbWindow::StopAllTimers() {
  timer1_->stop();
  timer2_->stop();
  timer3_->stop();
  timer4_->stop();
}

void OrbWindow::Suspend() {
  SetStatusCaption("<Susp>");
  timer3_->stop();
  Model().menu.SetSuspended(true);
  SuspendOrb(session_);
  face_->SetOrbColour(kSilver);
  RefreshFace();
}

void OrbWindow::Resume() {
  Model().menu.SetSuspended(false);
  timer3_->setInterval(1000);
  ResumeOrb(session_);
  face_->SetOrbColour(kNeutral);
  timer3_->start();
  RefreshFace();
}

void OrbWindow::Stop() {
  StopOrb(session_);
  close();
}

void OrbWindow::HideOrb() {
  timer3_->stop();
  timer3_->setInterval(60000);
  hide();
  timer3_->start();
  hidden_by_command_ = true;
}

void OrbWindow::PrtgBrowser() {
  OpenPrtgBrowser(
      session_.record(), session_.files().AttachedProfile(), *this,
      [](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
      });
}

void OrbWindow::ZoomOnAlert() {
  // On top of every window at the same place and size until the next
  // housekeeping tick returns it to the normal stacking order.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  show();
  raise();
  View07DblClick();
  LetEventsRun(std::chrono::milliseconds(0));
  top_most_release_ = true;
  timer2_->start();
}

void OrbWindow::Reset() {
  ResetOrb(session_);
  face_->ShowItemTable(session_.state().items);
  RefreshFace();
}

void OrbWindow::Timer4Timer() {
  if (!session_.acknowledge_mark()) {
    close();
    return;
  }
  butt00_->show();
  QApplication::restoreOverrideCursor();
}

void OrbWindow::Butt00Click() { close(); }

void OrbWindow::SetStatusCaption(const std::string& caption) {
  panel3_->SetStatusCaption(caption);
}

void OrbWindow::SetFrameColour(Rgb colour) {
  if (colour == frame_colour_) return;
  frame_colour_ = colour;
  update();
}

void OrbWindow::paintEvent(QPaintEvent* event) {
  QPainter(this).fillRect(event->rect(), ToQColor(frame_colour_));
}

void OrbWindow::ShowError(const std::string& message) {
  ShowErrorPanel(message);
  timer4_->start();
}

void OrbWindow::ShowErrorPanel(const std::string& message) {
  label5_->setText(ToQString(message));
  panel2_->raise();
  panel2_->show();
}

void OrbWindow::HideErrorPanel() { panel2_->hide(); }

void OrbWindow::SetBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void OrbWindow::ShowMessageBox(const std::string& text) {
  QMessageBox::information(this, QApplication::applicationName(),
                           ToQString(text));
}

void OrbWindow::LetEventsRun(std::chrono::milliseconds duration) {
  if (closing_) return;
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(duration.count()), &loop,
                     &QEventLoop::quit);
  loop.exec();
}

void OrbWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (session_.startup_stage() != StartupStage::kStarted) return;
  PopupPopup();
  menu_->popup(event->globalPos());
  event->accept();
}

OrbMenuWidget* OrbWindow::Menu() {
  if (menu_ == nullptr) {
    menu_ = new OrbMenuWidget(session_.face_model().menu, this);
    // The release that ends a right click goes to the menu, not the face.
    connect(menu_, &QMenu::aboutToHide, this,
            [this] { Model().menu.clear_popup_open_mark(); });
    connect(menu_, &OrbMenuWidget::Chosen, this, [this](const QString& name) {
      RunMenuCommand(name.toStdString());
    });
  }
  return menu_;
}

void OrbWindow::PopupPopup() {
  OrbState& state = session_.state();
  PopupInputs inputs;
  inputs.mode_word = state.mode_word;
  inputs.chart_visible = face_->chart_visible();
  inputs.listing_visible = face_->listing_visible();
  inputs.gauge_visible = face_->gauge_visible();
  inputs.image_visible = face_->image_visible();
  inputs.legend_visible = face_->legend_visible();
  inputs.title_visible = face_->chart_title_visible();
  inputs.orb_colour = state.items.colour();
  inputs.zoomed = Model().face.zoomed;
  Model().menu.Popup(inputs);
  Menu()->Bind(Model().menu);
}

void OrbWindow::RunMenuCommand(const std::string& name) {
  static const std::map<std::string, void (OrbWindow::*)()> kCommands = {
      {"Pop00", &OrbWindow::PrtgBrowser},  {"Pop02", &OrbWindow::Pop02Click},
      {"Pop021", &OrbWindow::Pop021Click}, {"Pop022", &OrbWindow::Pop022Click},
      {"Pop023", &OrbWindow::Pop023Click}, {"Pop024", &OrbWindow::Pop024Click},
      {"Pop03", &OrbWindow::Pop03Click},   {"Pop04", &OrbWindow::Pop04Click},
      {"Pop05", &OrbWindow::Reset},        {"Pop06", &OrbWindow::Reset},
      {"Pop07", &OrbWindow::Pop07Click},   {"Pop070", &OrbWindow::Pop070Click},
      {"Pop08", &OrbWindow::Pop08Click},   {"Pop081", &OrbWindow::HideOrb},
      {"Pop09", &OrbWindow::Stop},
  };
  const auto command = kCommands.find(name);
  if (command != kCommands.end()) (this->*command->second)();
}

void OrbWindow::WriteFaceMode(char face_mode) {
  // A zoomed orb may show another face without storing it; the un-zoom
  // returns to the record's.
  if (Model().face.zoomed) {
    face_chosen_while_zoomed_ = true;
    return;
  }
  session_.state().config.record.set_face_mode(face_mode);
  Save(std::nullopt);
}

void OrbWindow::ShowFace(bool chart, bool listing, bool gauge, bool image) {
  face_->SetChartVisible(chart);
  face_->SetListingVisible(listing);
  face_->SetGaugeVisible(gauge);
  face_->SetImageVisible(image);
}

void OrbWindow::CloseProcessingLog() { face_->HideProcessingLog(); }

void OrbWindow::Pop02Click() {
  CloseProcessingLog();
  Model().face.gauge_chosen = false;
  Model().menu.SetVisible("Pop021", false);
  Model().menu.SetVisible("Pop022", true);
  const bool listing = Model().menu.Caption("Pop02") == kShowListingCaption;
  ShowFace(!listing, listing, false, false);
  WriteFaceMode(listing ? '2' : '0');
}

void OrbWindow::Pop021Click() {
  Model().face.gauge_chosen = false;
  Model().menu.SetVisible("Pop021", false);
  ShowFace(true, false, false, false);
  WriteFaceMode('0');
  Model().menu.SetVisible("Pop022", true);
  Model().menu.SetVisible("Pop023", true);
}

void OrbWindow::Pop022Click() {
  ShowFace(false, false, true, false);
  Model().face.gauge_chosen = true;
  Model().menu.SetVisible("Pop021", true);
  Model().menu.SetVisible("Pop023", true);
  WriteFaceMode('3');
  Model().menu.SetVisible("Pop022", false);
  HideErrorPanel();
}

void OrbWindow::Pop023Click() {
  ShowFace(false, false, false, true);
  Model().menu.SetVisible("Pop021", true);
  Model().menu.SetVisible("Pop022", true);
  Model().face.gauge_chosen = false;
  WriteFaceMode('4');
  Model().menu.SetVisible("Pop023", false);
  HideErrorPanel();
}

void OrbWindow::Pop024Click() {
  Model().face.gauge_max = 0;
  RefreshFace();
}

bool OrbWindow::ChartFlagOffered(const char* entry,
                                 std::string_view show_caption) {
  face_->SetChartVisible(true);
  CloseProcessingLog();
  return Model().menu.Caption(entry) == show_caption;
}

void OrbWindow::Pop03Click() {
  const bool show = ChartFlagOffered("Pop03", kShowTitleCaption);
  session_.state().config.record.set_title_shown(show);
  face_->SetChartTitleVisible(show);
  Save(std::nullopt);
}

void OrbWindow::Pop04Click() {
  const bool show = ChartFlagOffered("Pop04", kShowLegendCaption);
  session_.state().config.record.set_legend_shown(show);
  face_->SetLegendVisible(show);
  Save(std::nullopt);
}

void OrbWindow::Pop070Click() {
  const OrbState& state = session_.state();
  face_->ShowProcessingLog(state.processing, state.first_text_line,
                           state.http());
}

SettingsDialog* OrbWindow::SettingsDialogWidget() {
  if (settings_dialog_ == nullptr) {
    SettingsChoices choices{session_.gauge_choices(), session_.image_choices(),
                            session_.item_choices()};
    settings_dialog_ =
        new SettingsDialog(choices, session_.working_dir(), this);
    settings_dialog_->SetTitleAlarm(title_alarm_);
  }
  return settings_dialog_;
}

void OrbWindow::Pop07Click() {
  OrbState& state = session_.state();
  SettingsSource source;
  source.record = state.record();
  source.actions = state.config.actions;
  source.rules = state.config.rules;
  source.gauge_chosen = Model().face.gauge_chosen;
  source.image_shown = face_->image_visible();
  const auto old_bars = state.record().chart_bars();
  if (SettingsDialogWidget()->Run(source, state.config,
                                  static_cast<int>(state.items.size()))) {
    ApplyAlteredSettings(settings_dialog_->fields(), old_bars);
  }
}

void OrbWindow::ApplyAlteredSettings(
    const SettingsFields& fields,
    const std::array<std::string, kChartBarSlots>& old_bars) {
  ShowOrbTitle(fields.title);
  // The dialog closes only with a delay it could read.
  const std::optional<AlteredSettings> altered = AlteredFrom(fields);
  if (!altered) return;
  const AlterOutcome outcome = session_.AlterSettings(*altered);
  if (!outcome.written) return;
  if (outcome.delay_changed) RestartCycleTimer();
  Save(std::nullopt);
  RefreshFace();
  RefreshFace();
  Relayout();
  if (outcome.chart_reshaped) ExchangeChart(old_bars);
}

void OrbWindow::ShowOrbTitle(const std::string& title) {
  face_->SetChartTitle(WithFirstLine(face_->chart_title(), title));
  panel3_->SetCaption(title);
  face_->SetTitle(title);
}

void OrbWindow::RestartCycleTimer() {
  const int interval = session_.state().delay_time * 1000;
  // A suspended orb, or one whose cycle runs now, arms the timer itself
  // later, with the new delay.
  if (!timer3_->isActive()) {
    timer3_->setInterval(interval);
    return;
  }
  timer3_->stop();
  timer3_->setInterval(interval);
  timer3_->start();
}

void OrbWindow::ExchangeChart(
    const std::array<std::string, kChartBarSlots>& old_bars) {
  OrbState& state = session_.state();
  const bool legend = face_->legend_visible();
  const bool title = face_->chart_title_visible();
  // Hidden also when the kind stays: the rebuild shows what the face needs.
  face_->SetChartVisible(false);
  const int kind = face_->SelectChart(state.record());
  session_.ReloadLastResult();
  ChartContent& content = face_->chart_content(kind);
  if (state.record().history_mode()) {
    RebuildHistoryChart(old_bars, state.record(), state.items, kind,
                        Model().chart, content);
    face_->RedrawChart();
  } else {
    content.history_started = false;
    face_->ChartClick(state.items, state.values, Settings(), Model().chart,
                      !ListingShown());
  }
  face_->ShowItemTable(state.items);
  face_->SetChartTitle(ChartTitle());
  face_->SetLegendVisible(legend && Model().menu.Entry("Pop04").enabled);
  face_->SetChartTitleVisible(title);
  // The rebuild showed the chart; a listing or gauge orb keeps its face.
  ShowChartOrListingOfRecord();
  Relayout();
}

void OrbWindow::Pop08Click() {
  if (suspended()) {
    Resume();
  } else {
    Suspend();
  }
}

void OrbWindow::View07Click() {
  if (face_->processing_log_visible()) {
    CloseProcessingLog();
    const bool chart = Model().menu.Caption("Pop02") == kShowListingCaption;
    face_->SetChartVisible(chart);
    face_->SetListingVisible(!chart);
  }
  Unzoom();
}

void OrbWindow::View07DblClick() {
  if (!placed_) return;
  OrbState& state = session_.state();
  Model().face.zoomed = true;
  const WindowRect zoomed =
      ZoomedWindow({x(), y(), width(), height()}, StoredGridSize(), state.cell,
                   session_.grid_area());
  setGeometry(zoomed.left, zoomed.top, zoomed.width, zoomed.height);
  Relayout();
  if (panel3_->status_caption().empty()) {
    panel3_->SetStatusCaption("<" + RowSlashColumn(session_.orb_number()) +
                              ">");
  }
  face_->SetChartTitle(
      TitleWithUnit(face_->chart_title(), Model().chart.chart_unit));
  face_->SetLegendVisible(true);
  face_->SetChartTitleVisible(true);
  panel3_->PlaceAcross(width());
  panel3_->show();
  panel3_->raise();
  face_->MakeRoomForHeader(panel3_->height(), state.http());
}

void OrbWindow::Unzoom() {
  OrbState& state = session_.state();
  if (!Model().face.zoomed) return;
  const WindowRect& home = session_.home();
  const GridSize size = StoredGridSize();
  panel3_->hide();
  face_->ClearRoomForHeader();
  setGeometry(home.left, home.top, size.columns * state.cell.width,
              size.rows * state.cell.height);
  Relayout();
  if (std::exchange(face_chosen_while_zoomed_, false)) ShowFaceOfRecord();
  ShowRecordsFace();
  Model().face.zoomed = false;
  RefreshFace();
}

void OrbWindow::ShowFaceOfRecord() {
  OrbState& state = session_.state();
  const char face_mode = state.record().face_mode();
  Model().face.gauge_chosen = false;
  ShowFace(true, false, false, false);
  ShowChartOrListingOfRecord();
  ShowStartFace(face_mode);
  const bool chart_or_listing = face_mode != '3' && face_mode != '4';
  Model().menu.SetVisible("Pop021", !chart_or_listing);
  Model().menu.SetVisible("Pop022", face_mode != '3');
  Model().menu.SetVisible("Pop023", face_mode != '4');
}

bool OrbWindow::ListingShown() const {
  return !Model().face.gauge_chosen && session_.record().face_mode() == '2';
}

void OrbWindow::ShowChartOrListingOfRecord() {
  if (Model().face.gauge_chosen) return;
  const bool listing = ListingShown();
  face_->SetListingVisible(listing);
  face_->SetChartVisible(!listing);
}

void OrbWindow::ShowRecordsFace() {
  const ConfigRecord& record = session_.record();
  ShowChartOrListingOfRecord();
  if (!record.legend_shown()) face_->SetLegendVisible(false);
  face_->SetChartTitle(TitleWithoutUnit(face_->chart_title()));
  if (!record.title_shown()) face_->SetChartTitleVisible(false);
}

void OrbWindow::Sort(int column) {
  OrbState& state = session_.state();
  SetBusyCursor(true);
  SortItems(state.items, column, state.sort_state, state.values.number_format);
  face_->ShowItemTable(state.items);
  SetBusyCursor(false);
}

void OrbWindow::FaceMouseDown(const QPoint& press) { press_point_ = press; }

void OrbWindow::FaceMouseUp(const QPoint& release) {
  // A release whose press went to the menu is no drag.
  const std::optional<QPoint> press = std::exchange(press_point_, std::nullopt);
  OrbState& state = session_.state();
  if (!placed_ || Model().face.zoomed ||
      state.cycle_phase == CyclePhase::kAcquiring) {
    return;
  }
  if (Model().menu.popup_open_mark()) {
    Model().menu.clear_popup_open_mark();
    return;
  }
  if (!press || *press == release) return;
  MoveToCellAt(release);
}

void OrbWindow::MoveToCellAt(const QPoint& release) {
  if (!placement_available_) {
    if (!std::exchange(drag_refusal_shown_, true)) {
      ShowMessageBox(std::string(kNoPlacementMessage));
    }
    return;
  }
  const WindowRect& grid = session_.grid_area();
  const std::string target = OrbNumberOf(CellAt(
      release.x() - grid.left, release.y() - grid.top, session_.state().cell));
  if (target == session_.orb_number()) return;
  const SaveOutcome outcome = session_.MoveTo(*this, target);
  const WindowRect& home = session_.home();
  move(home.left, home.top);
  // Off the grid or over another orb counts as taken.
  if (outcome == SaveOutcome::kTargetTaken ||
      outcome == SaveOutcome::kPlaceTaken) {
    ShowMessageBox("Sorry, Position " + RowSlashColumn(target) +
                   " already used !");
  }
}

void OrbWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!placed_ || Model().face.zoomed) return;
  // A size the compositor gave is laid out as it is: asking for another
  // could go back and forth without end.
  if (placement_available_) {
    SnapToGrid();
  } else {
    Relayout();
  }
}

void OrbWindow::SnapToGrid() {
  OrbState& state = session_.state();
  const PixelSize snapped = SnapToCells({width(), height()}, state.cell);
  if (snapped != PixelSize{width(), height()}) {
    resize(snapped.width, snapped.height);  // comes back here
    return;
  }
  Relayout();
  if (state.grid_size_text == state.record().grid_size_text()) return;
  const std::string wanted = state.grid_size_text;
  if (Save(std::nullopt) != SaveOutcome::kPlaceTaken) return;
  // Back to the stored size, which the next relayout keeps.
  const GridSize stored = StoredGridSize();
  resize(stored.columns * state.cell.width, stored.rows * state.cell.height);
  const GridSize refused = ParseGridSizeText(wanted).value_or(stored);
  ShowMessageBox("Sorry, no room for " + std::to_string(refused.rows) + " x " +
                 std::to_string(refused.columns) + " cells at " +
                 RowSlashColumn(session_.orb_number()) + " !");
}

void OrbWindow::closeEvent(QCloseEvent* event) {
  closing_ = true;
  StopAllTimers();
  session_.CloseCleanUp();
  event->accept();
  // A tool window does not end the event loop by itself.
  QApplication::quit();
}

}  // namespace vigil
