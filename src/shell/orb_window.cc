#include "shell/orb_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "face/face_layout.h"
#include "face/widget_helpers_widget.h"
#include "prtg/prtg_browser.h"
#include "shell/orb_commands.h"
#include "shell/termination_request.h"
#include "store/config_record.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr int kDesignWidth = 169;
constexpr int kDesignHeight = 89;

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
  SetBackground(this, kNeutral);
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
  label1_ = Named(new QLabel(this), "Label1");
  label1_->setGeometry(6, kDesignHeight - 20, kDesignWidth - 12, 16);
  startup_label_ = Named(new QLabel("Starting...", this), "Label2");
  startup_label_->setGeometry(6, 24, kDesignWidth - 12, 20);
  startup_label_->setAlignment(Qt::AlignCenter);

  panel3_ = Named(new QWidget(this), "Panel3");
  panel3_->setGeometry(4, 4, 161, 88);
  panel3_->hide();
  x_cap01_ = Named(new QLabel(panel3_), "xCap01");
  x_cap02_ = Named(new QLabel("<xx:xx>", panel3_), "xCap02");
  x_cap03_ = Named(new QLabel(panel3_), "xCap03");
  x_cap001_ = Named(new QLabel("Probe.:", panel3_), "xCap001");
  p_cap01_ = Named(new QLabel(panel3_), "pCap01");

  panel2_ = Named(new QWidget(this), "Panel2");
  SetBackground(panel2_, kSilver);
  label5_ = Named(new QLabel(panel2_), "Label5");
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

FaceSettings OrbWindow::Settings() const {
  FaceSettings settings;
  settings.record = session_.record();
  settings.has_rules = !session_.orb_lines().rules.empty();
  settings.header = session_.header();
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
  face_state_.relayout_request = true;
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
  const QRect screen_rect = screen()->geometry();
  const auto started =
      session_.StartUp(*this, {screen_rect.width(), screen_rect.height()});
  if (started) ApplyStartedOrb(*started);
}

void OrbWindow::ConfigureActions() {
  ActionEnvironment environment;
  environment.mode_word = session_.mode_word();
  environment.working_dir = session_.working_dir();
  environment.record = &session_.record();
  environment.actions = &session_.orb_lines().actions;
  environment.values = &session_.values();
  environment.work_file = session_.files().WorkFile();
  environment.mail_body_file = session_.files().MailListFile().filename();
  environment.view = this;
  environment.should_give_up = [] { return TerminationRequested(); };
  dispatch_.SetEnvironment(std::move(environment));
}

void OrbWindow::ApplyStartedOrb(const StartedOrb& orb) {
  ConfigureActions();
  setGeometry(orb.window.left, orb.window.top, orb.window.width,
              orb.window.height);
  face_->setGeometry(rect());
  face_->SelectChart(session_.record());
  face_->SetTitle(orb.title);
  face_->SetChartTitle(orb.title);
  face_->SetChartTitleVisible(orb.chart_title_visible);
  x_cap01_->setText(ToQString(orb.caption));
  FitBorderlessPanels();
  if (session_.mode_word() != "HttpOrb") {
    panel3_->resize(panel3_->width(), 36);
    x_cap001_->hide();
    p_cap01_->hide();
  }
  RefreshFace();
  RefreshFace();
  face_->LoadGaugePicture(Settings(), face_state_);
  ShowStartFace(orb.face_mode);
  timer2_->start();
  timer3_->setInterval(1000);
  timer3_->start();
}

void OrbWindow::ShowStartFace(char face_mode) {
  if (face_mode != '3' && face_mode != '4') return;
  // Gauge and image faces cover the chart and the listing.
  face_state_.gauge_chosen = true;
  face_->SetListingVisible(false);
  face_->SetChartVisible(false);
  face_->SetGaugeVisible(face_mode == '3');
  face_->SetImageVisible(face_mode == '4');
  if (face_mode == '4') {
    face_state_.relayout_request = true;
    face_->RelayoutFace(session_.items(), session_.values(), Settings(),
                        session_.cell(), face_state_);
  }
}

void OrbWindow::FitBorderlessPanels() {
  face_->setGeometry(rect());
  PlaceErrorPanel(
      face_->FitBorderlessPanels(Settings(), face_state_).error_panel);
  label1_->hide();
}

void OrbWindow::RefreshFace() {
  face_->RefreshFace(session_.items(), session_.values(), Settings(),
                     face_state_);
}

void OrbWindow::Timer2Timer() {
  if (top_most_release_) {
    top_most_release_ = false;
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    show();
  }
  if (session_.cycle_phase() == kCycleIdle &&
      TakeEndOfProcessingRequest(session_, dispatch_)) {
    StopAllTimers();
    close();
  }
}

CycleContext OrbWindow::MakeCycleContext() {
  CycleContext context;
  context.mode_word = session_.mode_word();
  context.companion_dir = session_.companion_dir();
  context.record = session_.record();
  context.header = session_.header();
  context.actions = session_.orb_lines().actions;
  context.rules = session_.orb_lines().rules;
  context.lock_name = session_.lock_name();
  context.source_path = session_.source_path();
  context.delay_time = session_.delay_time();
  context.canned_result = face_state_.canned_result;
  context.zoomed = face_state_.zoomed;
  context.files = &session_.files();
  context.log = &session_.event_log();
  context.items = &session_.items();
  context.processing = &session_.processing();
  context.lists = &session_.lists();
  context.values = &session_.values();
  context.busy_flag = &session_.busy_flag_ref();
  context.cycle_phase = &session_.cycle_phase_ref();
  context.restart_flag = &session_.restart_flag_ref();
  context.chart_unit = &chart_state_.chart_unit;
  context.sort_state = &session_.sort_state();
  context.should_give_up = [] { return TerminationRequested(); };
  if (session_.mode_word() == "HttpOrb") {
    context.http_acquisition = [this](SourceLock& lock) {
      PrtgContext prtg;
      prtg.mode_word = session_.mode_word();
      prtg.record = session_.record();
      prtg.attached_profile = session_.files().AttachedProfile();
      prtg.work_file = session_.files().WorkFile();
      prtg.version_text = session_.version_text();
      const PrtgAcquisition got = prtg_client_.Acquire(
          prtg, *this, lock, session_.items(), session_.staging(),
          session_.lists().wrky, session_.values(), session_.event_log());
      return HttpOutcome{got.fresh_rows};
    };
  }
  return context;
}

void OrbWindow::Timer3Timer() {
  timer3_->stop();
  if (hidden_by_command_) {
    hidden_by_command_ = false;
    show();
  }
  CycleContext context = MakeCycleContext();
  const CycleReport report = RunCycle(context, *this, dispatch_);
  if (!closing_) ApplyCycleReport(report);
}

void OrbWindow::ApplyCycleReport(const CycleReport& report) {
  using Path = CycleReport::Path;
  switch (report.path) {
    case Path::kEndOfProcessing:
      // The request's files are gone already.
      StopAllTimers();
      StopOrb(session_, dispatch_);
      close();
      return;
    case Path::kGaveUp:
      close();
      return;
    case Path::kSensorMissing:
      face_->SetGaugeVisible(false);
      face_->SetImageVisible(false);
      break;
    case Path::kNoData:
      suspend_caption_ = "Resume Orb";
      face_->SetOrbColour(kSilver);
      RefreshFace();
      break;
    case Path::kGood: {
      x_cap02_->setText(ToQString(report.last_update));
      face_->ShowItemTable(session_.items());
      if (auto grid =
              face_->RelayoutFace(session_.items(), session_.values(),
                                  Settings(), session_.cell(), face_state_)) {
        session_.set_grid_size_text(*grid);
      }
      const ChartBuildResult chart = face_->ChartClick(
          session_.items(), session_.values(), Settings(), chart_state_);
      const std::string& record = session_.record();
      face_->SetLegendVisible(chart.legend_allowed && !chart.hide_legend &&
                              RecordFlag(record, 67) == 'x');
      face_->SetChartTitleVisible(RecordFlag(record, 68) == 'x');
      if (!face_state_.gauge_chosen) {
        const bool listing = FaceMode(record) == '2';
        face_->SetListingVisible(listing);
        face_->SetChartVisible(!listing);
      }
      if (report.rules.show_legend_and_title) {
        face_->SetLegendVisible(true);
        face_->SetChartTitleVisible(true);
      }
      if (report.rules.zoom) ZoomOnAlert();
      if (session_.header().hide_while_green) {
        const Rgb colour = report.rules.orb_colour;
        setVisible(colour == kYellow || colour == kRed);
      }
      RefreshFace();
      RefreshFace();
      RefreshFace();
      if (session_.header().frame_width == 0) SetFrameColour(kWhite);
      break;
    }
    default:
      break;
  }
  if (report.rearm) {
    timer3_->setInterval(static_cast<int>(report.rearm->count()));
    timer3_->start();
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
  suspend_caption_ = "Resume Orb";
  SuspendOrb(session_, dispatch_);
  face_->SetOrbColour(kSilver);
  RefreshFace();
  RefreshFace();
  RefreshFace();
}

void OrbWindow::Resume() {
  suspend_caption_ = "Suspend Orb";
  timer3_->setInterval(1000);
  ResumeOrb(session_, dispatch_);
  face_->SetOrbColour(kNeutral);
  timer3_->start();
  RefreshFace();
  RefreshFace();
  RefreshFace();
}

void OrbWindow::Stop() {
  StopOrb(session_, dispatch_);
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
  LetEventsRun(std::chrono::milliseconds(0));
  top_most_release_ = true;
  timer2_->start();
}

void OrbWindow::Reset() {
  ResetOrb(session_);
  face_->ShowItemTable(session_.items());
  RefreshFace();
  RefreshFace();
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
  x_cap03_->setText(ToQString(caption));
}

void OrbWindow::SetFrameColour(Rgb colour) { SetBackground(this, colour); }

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

void OrbWindow::closeEvent(QCloseEvent* event) {
  closing_ = true;
  StopAllTimers();
  session_.CloseCleanUp();
  event->accept();
  // A tool window does not end the event loop by itself.
  QApplication::quit();
}

}  // namespace vigil
