// The orb window driven through its handlers, without waiting for timers.
#include "shell/orb_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTimer>
#include <functional>

#include "face/orb_chart_widget.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;

constexpr char kSensor[] =
    "#!/bin/sh\n"
    "echo '<Prtg>'\n"
    "echo '<Result><Channel>Cpu</Channel><Value>42</Value></Result>'\n"
    "echo '</Prtg>'\n";

class OrbWindowTest : public ::testing::Test {
 protected:
  OrbWindowTest() {
    dir_.Write("AuxOrbs.so", "");
    dir_.Write("sensor.sh", kSensor);
    std::filesystem::permissions(dir_ / "sensor.sh",
                                 std::filesystem::perms::owner_all);
    record_.number = "0102";
    record_.lock_name = "SRC";
    record_.delay = "   30";
    record_.tail = "Global;sensor.sh;;Window test";
  }

  std::unique_ptr<OrbWindow> StartedWindow(
      std::vector<std::string> orbs_file = {}, const char* mode = "AuxOrb") {
    if (orbs_file.empty()) orbs_file = {"0806 AuxOrbs...   .", record_.Text()};
    dir_.WriteLines(std::string(mode) + "s.Prf", orbs_file);
    CommandLine command_line;
    command_line.companion_dir = dir_.path().string();
    command_line.orb_number = "0102";
    auto window = std::make_unique<OrbWindow>(mode, command_line, dir_.path(),
                                              "testhost");
    window->show();
    window->Timer1Timer();  // preparation
    window->Timer1Timer();  // start-up
    return window;
  }

  QTimer* Timer(OrbWindow& window, const char* name) {
    return window.findChild<QTimer*>(name);
  }

  std::string Log() const { return dir_.Read("AuxOrbs.Log"); }

  TempDir dir_;
  RecordBuilder record_;
};

TEST_F(OrbWindowTest, StartUpShowsTheVersionAndArmsTheCycle) {
  auto window = StartedWindow();
  EXPECT_EQ(window->session().startup_stage(), StartupStage::kStarted);
  EXPECT_EQ(window->findChild<QLabel*>("Label1")->text().toStdString(),
            "AuxOrb 3.3 / 06.05.15");
  EXPECT_EQ(window->windowTitle().toStdString(), " AuxOrb...");
  ASSERT_TRUE(Timer(*window, "Timer3"));
  EXPECT_TRUE(Timer(*window, "Timer3")->isActive());
  EXPECT_EQ(Timer(*window, "Timer3")->interval(), 1000);
  EXPECT_TRUE(dir_.Exists("AuxOrb0102.Prf"));
}

TEST_F(OrbWindowTest, FailureThatMustBeAcknowledgedOffersOk) {
  std::filesystem::create_directory(dir_ / "AuxOrbs.Prf");
  CommandLine command_line;
  command_line.orb_number = "0102";
  OrbWindow window("AuxOrb", command_line, dir_.path(), "testhost");
  window.show();
  window.Timer1Timer();
  window.Timer1Timer();
  auto* label = window.findChild<QLabel*>("Label5");
  EXPECT_EQ(label->text().toStdString(), "Starting failed, please Retry !");
  EXPECT_TRUE(window.findChild<QWidget*>("Panel2")->isVisible());
  EXPECT_TRUE(Timer(window, "Timer4")->isActive());
  window.Timer4Timer();
  EXPECT_TRUE(window.isVisible());  // waits for OK
  auto* ok = window.findChild<QPushButton*>("Butt00");
  EXPECT_TRUE(ok->isVisible());
  ok->click();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(OrbWindowTest, FailureThatEndsByItselfCloses) {
  dir_.WriteLines("AuxOrbs.Prf", {"0806 AuxOrbs...   ."});
  CommandLine command_line;
  command_line.orb_number = "0102";
  OrbWindow window("AuxOrb", command_line, dir_.path(), "testhost");
  window.show();
  window.Timer1Timer();
  window.Timer1Timer();
  window.Timer4Timer();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(OrbWindowTest, SuspendAndResume) {
  auto window = StartedWindow();
  window->Timer3Timer();
  EXPECT_TRUE(dir_.Exists("AuxOrb0102.Grn"));
  window->Suspend();
  EXPECT_TRUE(window->suspended());
  EXPECT_FALSE(Timer(*window, "Timer3")->isActive());
  EXPECT_FALSE(dir_.Exists("AuxOrb0102.Grn"));
  EXPECT_EQ(window->session().state().values.state_code, 7);
  window->Resume();
  EXPECT_FALSE(window->suspended());
  EXPECT_TRUE(Timer(*window, "Timer3")->isActive());
  EXPECT_EQ(Timer(*window, "Timer3")->interval(), 1000);
  EXPECT_EQ(window->session().state().values.state_code, 8);
  const std::string log = Log();
  const size_t suspend = log.find(" Susp 0102 SRC;ID=;Global;Suspend...");
  const size_t resume = log.find(" Rsme 0102 SRC;ID=;Global;Resume...");
  ASSERT_NE(suspend, std::string::npos);
  ASSERT_NE(resume, std::string::npos);
  EXPECT_LT(suspend, resume);
}

TEST_F(OrbWindowTest, HideUntilTheNextCycle) {
  auto window = StartedWindow();
  window->HideOrb();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(Timer(*window, "Timer3")->interval(), 60000);
  window->Timer3Timer();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Timer(*window, "Timer3")->interval(), 30000);
}

TEST_F(OrbWindowTest, ResetForgetsTheStateShown) {
  record_.hold = '!';
  auto window = StartedWindow();
  window->session().state().items.set_colour(kRed);
  dir_.Write("AuxOrb0102.Red", "");
  window->Reset();
  EXPECT_EQ(window->session().state().items.colour(), kNeutral);
  EXPECT_FALSE(dir_.Exists("AuxOrb0102.Red"));
}

TEST_F(OrbWindowTest, EndOfProcessingFileEndsAnIdleOrb) {
  auto window = StartedWindow();
  dir_.Write("AuxOrb0102.Eop", "");
  window->Timer2Timer();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(dir_.Exists("AuxOrb0102.Eop"));
  EXPECT_FALSE(dir_.Exists("AuxOrb0102.Prf"));
  EXPECT_EQ(window->session().state().values.state_code, 6);
}

TEST_F(OrbWindowTest, StopEndsTheOrbAndLogsStopOnce) {
  auto window = StartedWindow();
  window->Stop();
  EXPECT_FALSE(window->isVisible());
  window.reset();
  const std::string log = Log();
  EXPECT_NE(log.find(" Stop 0102 SRC;ID=;Global;\r\n"), std::string::npos);
  EXPECT_EQ(log.find(" Stop "), log.rfind(" Stop "));
  EXPECT_FALSE(dir_.Exists("AuxOrb0102.Prf"));
}

QAction* MenuAction(OrbWindow& window, const char* name) {
  return window.menu() ? window.menu()->findChild<QAction*>(name) : nullptr;
}

TEST_F(OrbWindowTest, TheMenuIsMadeWhenFirstOpenedAndShowsTheOrbsState) {
  auto window = StartedWindow();
  window->Timer3Timer();
  EXPECT_EQ(window->menu(), nullptr);
  window->PopupPopup();
  ASSERT_NE(window->menu(), nullptr);
  QAction* face = MenuAction(*window, "Pop02");
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->text().toStdString(), "Show Listing");
  EXPECT_FALSE(face->icon().isNull());
  EXPECT_FALSE(MenuAction(*window, "Pop00")->isVisible());
  EXPECT_EQ(MenuAction(*window, "Pop09")->text().toStdString(), "Stop AuxOrb");
  EXPECT_TRUE(MenuAction(*window, "Pop07")->isEnabled());
  window->session().state().items.set_colour(kRed);
  window->PopupPopup();
  EXPECT_TRUE(MenuAction(*window, "Pop06")->isVisible());
  EXPECT_FALSE(MenuAction(*window, "Pop05")->isVisible());
  EXPECT_FALSE(MenuAction(*window, "Pop081")->isVisible());
  window->session().state().items.set_colour(kNeutral);
  window->Suspend();
  window->PopupPopup();
  EXPECT_EQ(MenuAction(*window, "Pop08")->text().toStdString(), "Resume Orb");
  EXPECT_FALSE(MenuAction(*window, "Pop081")->isVisible());
  EXPECT_TRUE(window->session().face_model().menu.popup_open_mark());
}

// The file as a save leaves it, so that a save changes only what changed.
TEST_F(OrbWindowTest, ShowListingWritesColumn17AndKeepsEveryOtherByte) {
  RecordBuilder other;
  other.number = "0305";
  auto window =
      StartedWindow({"0806 AuxOrbs...   .", other.Text(), "0305 # a;>;1;Alert;",
                     record_.Text(), "0102 $ ", "0102 % ", "0102 ! ", "0102 & ",
                     "0102 \xC2\xA7 "});
  window->Timer3Timer();
  const std::string before = dir_.Read("AuxOrbs.Prf");
  window->PopupPopup();
  window->RunMenuCommand("Pop02");
  std::string expected = before;
  const size_t record = expected.find(record_.Text());
  expected[record + 16] = '2';
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), expected);
  EXPECT_TRUE(window->face()->listing_visible());
  EXPECT_FALSE(window->face()->chart_visible());
  window->PopupPopup();
  EXPECT_EQ(MenuAction(*window, "Pop02")->text().toStdString(), "Show Chart");

  // A zoomed orb shows another face without storing it, and offers
  // neither title nor legend.
  window->session().face_model().face.zoomed = true;
  window->PopupPopup();
  EXPECT_FALSE(MenuAction(*window, "Pop03")->isVisible());
  EXPECT_FALSE(MenuAction(*window, "Pop04")->isVisible());
  const std::string listing_saved = dir_.Read("AuxOrbs.Prf");
  window->RunMenuCommand("Pop022");
  EXPECT_TRUE(window->face()->gauge_visible());
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), listing_saved);
}

// An HttpOrb orb without data waits for Resume; the menu's Resume makes it
// poll again.
TEST_F(OrbWindowTest, ASuspendedHttpOrbPollsAgainAfterResume) {
  dir_.Write("HttpOrbs.so", "");
  dir_.WriteLines("Prtg.Prf", {"* Host/IP.........: 127.0.0.1"});
  record_.tail = "Prtg.Prf;HttpOrb;/sensor.htm;No id";
  auto window =
      StartedWindow({"0806 HttpOrbs..  .", record_.Text()}, "HttpOrb");
  window->Timer3Timer();
  EXPECT_FALSE(Timer(*window, "Timer3")->isActive());
  EXPECT_TRUE(window->suspended());
  const auto fails = [&] {
    const std::string log = dir_.Read("HttpOrbs.Log");
    size_t count = 0;
    for (size_t at = log.find(" Fail "); at != std::string::npos;
         at = log.find(" Fail ", at + 1)) {
      ++count;
    }
    return count;
  };
  const size_t after_first = fails();
  window->PopupPopup();
  EXPECT_TRUE(MenuAction(*window, "Pop00")->isVisible());
  EXPECT_EQ(MenuAction(*window, "Pop09")->text().toStdString(), "Stop HttpOrb");
  window->RunMenuCommand("Pop08");
  EXPECT_FALSE(window->suspended());
  ASSERT_TRUE(Timer(*window, "Timer3")->isActive());
  EXPECT_EQ(Timer(*window, "Timer3")->interval(), 1000);
  window->Timer3Timer();
  EXPECT_GT(fails(), after_first);
}

// Points in cells of whatever size the offscreen screen gives.
TEST_F(OrbWindowTest, ADragMovesTheOrbToAFreeCellOnly) {
  RecordBuilder other;
  other.number = "0305";
  auto window =
      StartedWindow({"0806 AuxOrbs...   .", other.Text(), record_.Text()});
  const CellSize cell = window->session().state().cell;
  const auto at = [&](int row, int column) {
    return QPoint(column * cell.width + 5, row * cell.height + 5);
  };
  EXPECT_EQ(window->pos(), QPoint(2 * cell.width, cell.height));
  window->FaceMouseDown(at(1, 2));
  window->FaceMouseUp(at(1, 2));  // a click, not a move
  EXPECT_TRUE(dir_.Exists("AuxOrb0102.Prf"));

  const std::string before = dir_.Read("AuxOrbs.Prf");
  std::string message;
  QTimer::singleShot(0, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      message =
          box->findChild<QLabel*>("qt_msgbox_label")->text().toStdString();
      box->close();
    }
  });
  window->FaceMouseDown(at(1, 2));
  window->FaceMouseUp(at(3, 5));
  EXPECT_EQ(message, "Sorry, Position 03/05 already used !");
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), before);
  EXPECT_EQ(window->pos(), QPoint(2 * cell.width, cell.height));

  window->FaceMouseDown(at(1, 2));
  window->FaceMouseUp(at(2, 2));
  EXPECT_EQ(window->pos(), QPoint(2 * cell.width, 2 * cell.height));
  EXPECT_EQ(window->session().record().number(), "0202");
  EXPECT_TRUE(dir_.Exists("AuxOrb0202.Prf"));
  EXPECT_FALSE(dir_.Exists("AuxOrb0102.Prf"));
}

TEST_F(OrbWindowTest, AResizeSnapsToWholeCellsAndIsSaved) {
  auto window = StartedWindow();
  const CellSize cell = window->session().state().cell;
  window->resize(2 * cell.width + cell.width / 2, cell.height + 3);
  EXPECT_EQ(window->size(), QSize(2 * cell.width, cell.height));
  const auto lines = ReadLines(dir_ / "AuxOrbs.Prf");
  ASSERT_TRUE(lines);
  record_.grid_size = " 1  2";
  EXPECT_NE(std::find(lines->begin(), lines->end(), record_.Text()),
            lines->end());
}

TEST_F(OrbWindowTest, AZoomShowsLegendTitleAndUnitUntilTheClick) {
  record_.legend = '.';
  auto window = StartedWindow();
  window->Timer3Timer();
  window->session().face_model().chart.chart_unit = "%";
  const QSize compact = window->size();
  const std::string title = window->face()->chart_title();
  window->View07DblClick();
  EXPECT_TRUE(window->face_state().zoomed);
  EXPECT_EQ(window->size(), 2 * compact);
  EXPECT_TRUE(window->face()->legend_visible());
  EXPECT_EQ(window->face()->chart_title(), title + " <%>");
  EXPECT_TRUE(window->findChild<QWidget*>("Panel3")->isVisible());
  // A cycle while zoomed draws the chart anew: the drawn title keeps the
  // unit, the one this cycle read.
  window->Timer3Timer();
  const auto* chart = window->findChild<QChartView*>("Chart00");
  ASSERT_NE(chart, nullptr);
  // As the chart shows it: its title is rich text.
  EXPECT_EQ(
      QTextDocumentFragment::fromHtml(chart->chart()->title())
          .toPlainText()
          .toStdString(),
      title + " <" + window->session().face_model().chart.chart_unit + ">");
  // A face chosen while zoomed is not stored, and goes with the zoom.
  window->RunMenuCommand("Pop023");
  const auto* image = window->findChild<QWidget*>("Objct");
  EXPECT_TRUE(image->isVisible());
  window->View07Click();
  EXPECT_FALSE(image->isVisible());
  EXPECT_TRUE(chart->isVisible());
  EXPECT_EQ(window->session().record().face_mode(), '0');
  EXPECT_FALSE(window->face_state().zoomed);
  EXPECT_EQ(window->size(), compact);
  EXPECT_FALSE(window->face()->legend_visible());
  EXPECT_EQ(window->face()->chart_title(), title);
  EXPECT_FALSE(window->findChild<QWidget*>("Panel3")->isVisible());
}

// The modal settings dialog, driven once "Alter Settings" has shown it.
void WhenSettingsShow(OrbWindow& window,
                      std::function<void(SettingsDialog&)> drive) {
  QTimer::singleShot(0, &window,
                     [&window, drive] { drive(*window.settings_dialog()); });
}

// Keystrokes into a field, over what it held.
void Type(SettingsDialog& dialog, const char* field, const std::string& text) {
  QWidget* widget = dialog.findChild<QWidget*>(field);
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
  ASSERT_NE(edit, nullptr) << field;
  edit->selectAll();
  for (const char c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                    QString(QChar(c)));
    QApplication::sendEvent(edit, &press);
  }
}

TEST_F(OrbWindowTest, AlterSettingsSavesExactlyWhatChangedAndTakesEffect) {
  RecordBuilder other;
  other.number = "0305";
  const std::vector<std::string> file = {"0806 AuxOrbs...   .",
                                         other.Text(),
                                         "0305 # a;>;1;Set Alert;",
                                         record_.Text(),
                                         "0102 # Cpu;>;99;Warning;",
                                         "0102 $ ",
                                         "0102 % ",
                                         "0102 ! ",
                                         "0102 & ",
                                         "0102 \xC2\xA7 "};
  auto window = StartedWindow(file);
  window->Timer3Timer();
  EXPECT_EQ(window->settings_dialog(), nullptr);  // made on first use
  WhenSettingsShow(*window, [](SettingsDialog& dialog) {
    Type(dialog, "Edit01", "Renamed");
    Type(dialog, "Edit04", "4x5");  // the letter is refused as a keystroke
    dialog.Butt03Click();           // New
    Type(dialog, "Combo81", "Cpu");
    dialog.Butt01Click();  // Save
  });
  window->RunMenuCommand("Pop07");

  RecordBuilder changed = record_;
  changed.delay = "   45";
  changed.tail = "Global;sensor.sh;;Renamed";
  std::vector<std::string> expected = file;
  expected[3] = changed.Text();
  expected.insert(expected.begin() + 5, "0102 # Cpu;>;0;Green;");
  EXPECT_EQ(ReadLines(dir_ / "AuxOrbs.Prf"), expected);
  EXPECT_EQ(window->face()->chart_title(), "Renamed");
  EXPECT_EQ(Timer(*window, "Timer3")->interval(), 45000);
  EXPECT_TRUE(Timer(*window, "Timer3")->isActive());
  window->Timer3Timer();  // the new rule paints the orb green
  EXPECT_EQ(window->session().state().items.colour(), kGreen);
}

TEST_F(OrbWindowTest, CancelAfterPurgeKeepsThePurgeForTheNextSave) {
  auto window = StartedWindow(
      {"0806 AuxOrbs...   .", record_.Text(), "0102 # Cpu;>;1;Set Alert;"});
  window->Timer3Timer();
  const std::string before = dir_.Read("AuxOrbs.Prf");
  WhenSettingsShow(*window, [](SettingsDialog& dialog) {
    dialog.View80Click(0);
    dialog.Butt04Click();  // Purge
    dialog.Butt02Click();  // Cancel
  });
  window->RunMenuCommand("Pop07");
  EXPECT_TRUE(window->session().state().config.rules.empty());
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), before);
  window->RunMenuCommand("Pop03");  // any save
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf").find("Set Alert"), std::string::npos);
}

TEST_F(OrbWindowTest, AnotherChartKindExchangesTheChart) {
  auto window = StartedWindow();
  window->Timer3Timer();
  WhenSettingsShow(*window, [](SettingsDialog& dialog) {
    auto* kind = dialog.findChild<QComboBox*>("Combo80");
    kind->setCurrentIndex(4);
    emit kind->activated(4);  // "Area"
    dialog.Butt01Click();
  });
  window->RunMenuCommand("Pop07");
  EXPECT_EQ(window->session().record().chart_type(), 4);
  EXPECT_EQ(window->face()->current_chart(), 4);
  EXPECT_TRUE(ChartOf(window->face()->chart_widget(4))->isVisible());
  EXPECT_EQ(window->face()->chart_widget(0), nullptr);
  EXPECT_EQ(window->face()->chart_content(4).series[0].points.size(), 1u);
}

TEST_F(OrbWindowTest, NewBarsCarryTheRecordedHistoryOver) {
  dir_.Write("sensor.sh",
             "#!/bin/sh\necho '<Prtg>'\n"
             "echo '<Result><Channel>Cpu</Channel><Value>42</Value></Result>'\n"
             "echo '<Result><Channel>Mem</Channel><Value>7</Value></Result>'\n"
             "echo '</Prtg>'\n");
  record_.chart_mode = 'x';
  record_.chart_bars = "0001xxxx";
  auto window = StartedWindow();
  window->Timer3Timer();
  window->Timer3Timer();
  const int kind = window->face()->current_chart();
  WhenSettingsShow(*window, [](SettingsDialog& dialog) {
    dialog.BarDblClick(1);  // item 01 to the first bar
    dialog.Butt01Click();
  });
  window->RunMenuCommand("Pop07");
  EXPECT_EQ(window->session().record().chart_bars_text(), "0100xxxx");
  const ChartContent& chart = window->face()->chart_content(kind);
  std::vector<double> first, second;
  for (const ChartPoint& point : chart.series[0].points)
    first.push_back(point.value);
  for (const ChartPoint& point : chart.series[1].points)
    second.push_back(point.value);
  EXPECT_EQ(first, (std::vector<double>{7, 7}));
  EXPECT_EQ(second, (std::vector<double>{42, 42}));
  EXPECT_TRUE(chart.history_started);
}

// Names and captions come from sensors, servers and the orbs file: markup
// in them is shown as it is, never rendered.
TEST_F(OrbWindowTest, EveryLabelShowsItsTextAsItIs) {
  record_.face_mode = '3';  // the gauge shows the title in GLab01
  record_.tail = "Global;sensor.sh;;<b>Window</b> test";
  auto window = StartedWindow();
  window->Timer3Timer();
  const auto labels = window->findChildren<QLabel*>();
  ASSERT_GT(labels.size(), 10);
  for (const QLabel* label : labels) {
    EXPECT_EQ(label->textFormat(), Qt::PlainText)
        << label->objectName().toStdString();
  }
  EXPECT_EQ(window->findChild<QLabel*>("GLab01")->text().toStdString(),
            " <b>Window</b> test ");
}

}  // namespace
}  // namespace vigil
