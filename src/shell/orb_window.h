// The orb window: binds the session's results to widgets and forwards the
// timers and the window's events to the core.
#ifndef VIGIL_SHELL_ORB_WINDOW_H_
#define VIGIL_SHELL_ORB_WINDOW_H_

#include <QWidget>
#include <memory>

#include "face/header_panel_widget.h"
#include "face/orb_face_widget.h"
#include "face/orb_menu_widget.h"
#include "monitor/monitoring_cycle.h"
#include "settings/settings_dialog.h"
#include "shell/orb_session.h"
#include "store/orb_view.h"

class QLabel;
class QPushButton;
class QTimer;

namespace vigil {

class OrbWindow final : public QWidget, public OrbView {
  Q_OBJECT

 public:
  OrbWindow(std::string mode_word, const CommandLine& command_line,
            std::filesystem::path working_dir, std::string computer_name);
  ~OrbWindow() override;

  OrbSession& session() { return session_; }
  OrbFaceWidget* face() { return face_; }
  const FaceState& face_state() const { return session_.face_model().face; }

  // OrbView.
  void SetStatusCaption(const std::string& caption) override;
  void SetFrameColour(Rgb colour) override;
  void ShowError(const std::string& message) override;
  void RefreshFace() override;
  void ShowMessageBox(const std::string& text) override;
  void ShowErrorPanel(const std::string& message) override;
  void HideErrorPanel() override;
  void SetBusyCursor(bool busy) override;
  bool IsClosing() const override { return closing_; }
  void LetEventsRun(std::chrono::milliseconds duration) override;

  // Handlers, public so that tests drive them without waiting.
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();
  void Butt00Click();
  void FitBorderlessPanels();
  // Save: the session's save, then the dial that the record now names.
  SaveOutcome Save(const std::optional<MoveNote>& move_note);

  // Orb commands.
  void Suspend();
  void Resume();
  void Stop();
  void HideOrb();
  void Reset();
  // Pop00 "Prtg Browser": the sensor's page in the desktop's browser.
  void PrtgBrowser();
  bool suspended() const { return session_.face_model().menu.suspended(); }

  // The context menu: PopupPopup adapts the entries, then the menu opens.
  // Created on the first opening; nullptr before.
  void PopupPopup();
  OrbMenuWidget* menu() { return menu_; }
  // Runs the command of the entry of that name, as choosing it does.
  void RunMenuCommand(const std::string& name);
  // Face commands of the menu.
  void Pop02Click();
  void Pop021Click();
  void Pop022Click();
  void Pop023Click();
  void Pop024Click();
  void Pop03Click();
  void Pop04Click();
  void Pop070Click();
  // "Alter Settings": the settings dialog, then what was saved in it takes
  // effect at once.
  void Pop07Click();
  // Created on the first "Alter Settings"; nullptr before.
  SettingsDialog* settings_dialog() { return settings_dialog_; }
  void Pop08Click();
  // A click on the face closes the processing log and returns from the
  // zoom; a double click zooms.
  void View07Click();
  void View07DblClick();
  // Sort: the item table by one column, the second time reversed.
  void Sort(int column);
  // Dragging: a press and a release on the face, at screen points. The
  // release moves the orb to the free cell under it.
  void FaceMouseDown(const QPoint& press);
  void FaceMouseUp(const QPoint& release);

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateWidgets();
  void PlaceErrorPanel(const Rect& panel);
  void Initialise();
  void ApplyStartedOrb(const StartedOrb& orb);
  void ApplyCycleReport(const CycleReport& report);
  void ApplyGoodCycle(const CycleReport& report);
  void NotifyDesktop(const CycleReport& report);
  void ShowChartOrListing(const ChartBuildResult& chart);
  void ApplyMenuAfterCycle(const CycleReport& report);
  OrbMenuWidget* Menu();
  FaceModel& Model() { return session_.face_model(); }
  const FaceModel& Model() const { return session_.face_model(); }
  // Column 17 and a save, unless the orb is zoomed.
  void WriteFaceMode(char face_mode);
  void ShowFace(bool chart, bool listing, bool gauge, bool image);
  void CloseProcessingLog();
  // Pop03 and Pop04: the chart shown, and whether the entry offers to show.
  bool ChartFlagOffered(const char* entry, std::string_view show_caption);
  // RelayoutFace after a size change the orb made itself; keeps the
  // grid-size text it found for the next save.
  void Relayout();
  // Columns 19-23 of the record.
  GridSize StoredGridSize() const;
  void MoveToCellAt(const QPoint& release);
  // A monitor that comes, goes or changes takes the grid, and the orb
  // with it, where the header wants it now.
  void WatchMonitors();
  void FollowMonitors();
  void Unzoom();
  void ShowRecordsFace();
  // The face column 17 names, with its menu entries.
  void ShowFaceOfRecord();
  void ShowChartOrListingOfRecord();
  // A listing orb shows its listing after a cycle, without the chart.
  bool ListingShown() const;
  // Whole cells after every size change, saved when the size changed.
  void SnapToGrid();
  void StopAllTimers();
  void ZoomOnAlert();
  FaceSettings Settings() const;
  std::string ChartTitle() const;
  void KeepGridSize(const std::string& grid_size_text);
  void ShowStartFace(char face_mode);
  void ReloadGaugePicture();
  SettingsDialog* SettingsDialogWidget();
  void ApplyAlteredSettings(
      const SettingsFields& fields,
      const std::array<std::string, kChartBarSlots>& old_bars);
  void ShowOrbTitle(const std::string& title);
  void RestartCycleTimer();
  void ExchangeChart(const std::array<std::string, kChartBarSlots>& old_bars);

  OrbSession session_;
  bool initialised_ = false;
  bool closing_ = false;
  bool hidden_by_command_ = false;  // the tag of Pop081
  bool top_most_release_ = false;
  OrbMenuWidget* menu_ = nullptr;
  SettingsDialog* settings_dialog_ = nullptr;
  class DesktopNotifier* notifier_ = nullptr;  // made on the first notice
  // The sensor program could not be started: the dialog's title turns red.
  bool title_alarm_ = false;
  bool placed_ = false;  // start-up has sized the window
  Rgb frame_colour_ = kNeutral;
  bool face_chosen_while_zoomed_ = false;
  // False where the compositor places and sizes windows (Wayland): the
  // orb neither moves nor saves a place or size it did not ask for.
  bool placement_available_ = true;
  bool drag_refusal_shown_ = false;
  std::optional<QPoint> press_point_;

  QTimer* timer1_ = nullptr;
  QTimer* timer2_ = nullptr;
  QTimer* timer3_ = nullptr;
  QTimer* timer4_ = nullptr;
  OrbFaceWidget* face_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* startup_label_ = nullptr;
  QWidget* panel2_ = nullptr;
  QLabel* label5_ = nullptr;
  QPushButton* butt00_ = nullptr;
  HeaderPanelWidget* panel3_ = nullptr;
};

}  // namespace vigil

#endif  // VIGIL_SHELL_ORB_WINDOW_H_
