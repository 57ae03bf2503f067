#include "shell/orb_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QUrl>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include "face/face_layout.h"
#include "prtg/prtg_browser.h"
#include "shell/orb_commands.h"
#include "shell/termination_request.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr int kDesignWidth = 169;
constexpr int kDesignHeight = 89;

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QString ToQString(const std::string& bytes) {
  return QString::fromUtf8(ToDisplayUtf8(bytes));
}

void SetBackground(QWidget* widget, Rgb colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  palette.setColor(QPalette::Base, ToQColor(colour));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QTimer* MakeTimer(QWidget* parent, const char* name, int interval) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  timer->setInterval(interval);
  return timer;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
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

  chrts_ = Named(new QWidget(this), "Chrts");
  SetBackground(chrts_, kNeutral);
  view07_ = Named(new QTreeWidget(this), "View07");
  view07_->setHeaderLabels({"~", "Item", "Data", "Unit", "Color"});
  view07_->header()->hide();
  view07_->setRootIsDecorated(false);
  view07_->setFrameShape(QFrame::NoFrame);
  view07_->hide();

  title_ = Named(new QLabel(chrts_), "Title");
  title_->setGeometry(4, 4, kDesignWidth - 8, 16);
  title_->hide();
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
  PlaceErrorPanel();
}

void OrbWindow::PlaceErrorPanel() {
  const Rect panel = vigil::FitBorderlessPanels(
      {width(), height(), session_.header().frame_width, 0}).error_panel;
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
  relayout_request_ = true;
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

void OrbWindow::ApplyStartedOrb(const StartedOrb& orb) {
  delay_time_ = orb.delay_time;
  face_mode_ = orb.face_mode;
  current_chart_ = orb.chart_type;
  setGeometry(orb.window.left, orb.window.top, orb.window.width,
              orb.window.height);
  title_->setText(ToQString(orb.title));
  x_cap01_->setText(ToQString(orb.caption));
  view07_->move(4, 4);
  FitBorderlessPanels();
  if (session_.mode_word() != "HttpOrb") {
    panel3_->resize(panel3_->width(), 36);
    x_cap001_->hide();
    p_cap01_->hide();
  }
  RefreshFace();
  RefreshFace();
  timer2_->start();
  timer3_->setInterval(1000);
  timer3_->start();
}

void OrbWindow::FitBorderlessPanels() {
  const FaceGeometry geometry = vigil::FitBorderlessPanels(
      {width(), height(), session_.header().frame_width, 0});
  auto place = [](QWidget* widget, const Rect& rect) {
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
  };
  PlaceErrorPanel();
  place(chrts_, geometry.charts);
  place(view07_, geometry.listing);
  label1_->hide();
  title_->show();
}

void OrbWindow::RefreshFace() {
  SetBackground(view07_, session_.items().colour());
  SetBackground(chrts_, session_.items().colour());
  FillListing();
  update();
}

void OrbWindow::FillListing() {
  view07_->clear();
  for (const ItemRow& row : session_.items().rows()) {
    auto* item = new QTreeWidgetItem(view07_);
    item->setText(0, ToQString(row.label));
    item->setText(1, ToQString(row.item));
    item->setText(2, ToQString(row.data));
    item->setText(3, ToQString(row.unit));
    item->setText(4, ToQString(row.color));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
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
  context.canned_result = session_.canned_result();
  context.zoomed = zoomed_;
  context.files = &session_.files();
  context.log = &session_.event_log();
  context.items = &session_.items();
  context.processing = &session_.processing();
  context.lists = &session_.lists();
  context.values = &session_.values();
  context.busy_flag = &session_.busy_flag_ref();
  context.cycle_phase = &session_.cycle_phase_ref();
  context.restart_flag = &session_.restart_flag_ref();
  context.chart_unit = &session_.chart_unit_ref();
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
    case Path::kNoData:
      suspend_caption_ = "Resume Orb";
      RefreshFace();
      break;
    case Path::kGood:
      x_cap02_->setText(ToQString(report.last_update));
      if (report.rules.zoom) ZoomOnAlert();
      view07_->setVisible(face_mode_ == '2');
      chrts_->setVisible(face_mode_ != '2');
      if (session_.header().hide_while_green) {
        const Rgb colour = report.rules.orb_colour;
        setVisible(colour == kYellow || colour == kRed);
      }
      RefreshFace();
      RefreshFace();
      RefreshFace();
      if (session_.header().frame_width == 0) SetFrameColour(kWhite);
      break;
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
  RefreshFace();
  RefreshFace();
  RefreshFace();
}

void OrbWindow::Resume() {
  suspend_caption_ = "Suspend Orb";
  timer3_->setInterval(1000);
  ResumeOrb(session_, dispatch_);
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
  OpenPrtgBrowser(session_.record(), session_.files().AttachedProfile(), *this,
                  [](const std::string& url) {
                    return QDesktopServices::openUrl(
                        QUrl(QString::fromStdString(url)));
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
