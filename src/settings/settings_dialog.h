// TSett, the settings dialog: one orb's title, chart layout, delay, flags,
// action switches and rules. It binds a SettingsFields to its controls and
// forwards every control's event to the form's operations; it writes no
// file. Created on the first "Alter Settings", then kept.
#ifndef VIGIL_SETTINGS_SETTINGS_DIALOG_H_
#define VIGIL_SETTINGS_SETTINGS_DIALOG_H_

#include <QDialog>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_form.h"
#include "store/orbs_file.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace vigil {

// The choices that start-up found: gauge dials, images and item names.
struct SettingsChoices {
  std::vector<std::string> gauges;
  std::vector<std::string> images;
  std::vector<std::string> items;
};

class SettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  SettingsDialog(const SettingsChoices& choices,
                 const std::filesystem::path& working_dir,
                 QWidget* parent = nullptr);

  // Fills the dialog from the source and shows it modally. The rules and
  // the action switches of `config` change in place (a purge even when
  // cancelled). True after Save.
  bool Run(const SettingsSource& source, OrbConfiguration& config,
           int item_rows);
  const SettingsFields& fields() const { return fields_; }

  // The title field painted red: the sensor program could not be started.
  void SetTitleAlarm(bool alarm);

  // The controls' events, public so that tests drive them without a mouse.
  void Butt01Click();                       // Save
  void Butt02Click();                       // Cancel
  void Butt03Click();                       // New
  void Butt04Click();                       // Purge
  void SpinClick(int spin, int direction);  // Spin02, Spin03, Spin04
  void BarDblClick(int field);              // Edit05 (0) to Edit08 (3)
  void View80Click(int row);
  void View80DblClick(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void CreateWidgets(const SettingsChoices& choices,
                     const std::filesystem::path& working_dir);
  void CreateTitleAndChart(const SettingsChoices& choices);
  void CreateFlags();
  void CreateRules(const SettingsChoices& choices);
  void CreateLabelButtons();
  QWidget* CreateSpin(int spin, int x, int y);
  void ConnectEdits();
  void TakeText(QLineEdit* edit, std::string* field);
  void TakeText(QComboBox* combo, std::string* field);
  void TakeIndex(QComboBox* combo, int* field);
  void Bind();
  void BindChart();
  void BindFlags();
  void BindRules();
  void BindLabelButtons();
  void ShowHint(const QString& hint);
  void HideBevels();
  bool LabelButtonEvent(int button, QEvent* event);

  SettingsFields fields_;
  OrbConfiguration* config_ = nullptr;
  int item_rows_ = 0;
  bool title_alarm_ = false;

  QLineEdit* edit01_ = nullptr;
  QLineEdit* edit02_ = nullptr;
  QLineEdit* edit03_ = nullptr;
  QLineEdit* edit04_ = nullptr;
  QLineEdit* edit09_ = nullptr;
  QLabel* history_label_ = nullptr;
  std::array<QLineEdit*, kChartBarSlots> bar_edits_{};  // Edit05 to Edit08
  std::array<QWidget*, 3> spins_{};                     // Spin02 to Spin04
  QComboBox* combo80_ = nullptr;
  QComboBox* combo84_ = nullptr;
  QComboBox* combo85_ = nullptr;
  QComboBox* combo86_ = nullptr;
  std::array<QCheckBox*, kSettingsChecks> checks_{};
  QTreeWidget* view80_ = nullptr;
  QFrame* group04_ = nullptr;
  QComboBox* combo81_ = nullptr;
  QComboBox* combo82_ = nullptr;
  QLineEdit* edit88_ = nullptr;
  QComboBox* combo83_ = nullptr;
  std::array<QLabel*, kLabelButtons> buttons_{};  // Butt01 to Butt04
  std::array<QFrame*, kLabelButtons> bevels_{};   // Bevel01 to Bevel04
  QLabel* label00_ = nullptr;
};

}  // namespace vigil

#endif  // VIGIL_SETTINGS_SETTINGS_DIALOG_H_
