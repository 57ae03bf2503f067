#include "settings/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QTreeWidget>

#include "face/face_picture_widget.h"
#include "face/orb_image_list_widget.h"
#include "face/widget_helpers_widget.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr int kClientWidth = 380;
constexpr int kClientHeight = 236;
constexpr int kRuleImage = 29;
constexpr char kProductLine[] = "Vigil Panel - Alter Settings";
constexpr char kBackgroundPicture[] = "Images/Sett.Jpg";

struct LabelButtonControl {
  const char* name;
  const char* bevel;
  const char* caption;
  const char* hint;
};
constexpr std::array<LabelButtonControl, kLabelButtons> kLabelButtonControls = {
    {
        {"Butt01", "Bevel01", "Save", "Saves the Changes"},
        {"Butt02", "Bevel02", "Cancel", "Cancel the Processing"},
        {"Butt03", "Bevel03", "New", "Creates a new Rule"},
        {"Butt04", "Bevel04", "Purge", "Purges the Rule"},
    }};

struct CheckControl {
  const char* name;
  const char* caption;
  const char* hint;
};
constexpr std::array<CheckControl, kSettingsChecks> kCheckControls = {{
    {"Check01", "Hold...:", "Holds the State"},
    {"Check02", "Zoom.:", "Zoom on Alert"},
    {"Check03", "Keep.:", "Keeps the Data"},
    {"Check04", "Mail(s):", "Releases the attached Mails"},
    {"Check05", "Exec.:", "Releases the attached Exec's"},
    {"Check06", "Values:", "Traces the attached Values"},
    {"Check07", "Rfc's.:", "Traces all the RFC's"},
}};

template <typename Widget>
Widget* Hinted(Widget* widget, const char* name, const char* hint) {
  Named(widget, name);
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
  return widget;
}

QLabel* Caption(const char* text, QWidget* parent, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* ReadOnlyField(const char* name, const char* hint, QWidget* parent,
                         QRect place) {
  auto* edit = Hinted(new QLineEdit(parent), name, hint);
  edit->setReadOnly(true);
  edit->setGeometry(place);
  edit->setAlignment(Qt::AlignCenter);
  return edit;
}

QComboBox* Combo(const char* name, const char* hint, QWidget* parent,
                 QRect place, bool editable) {
  auto* combo = Hinted(new QComboBox(parent), name, hint);
  combo->setGeometry(place);
  combo->setEditable(editable);
  return combo;
}

template <size_t N>
void AddChoices(QComboBox* combo, const std::array<const char*, N>& choices) {
  for (const char* choice : choices) combo->addItem(choice);
}

void AddChoices(QComboBox* combo, const std::vector<std::string>& choices) {
  for (const std::string& choice : choices) combo->addItem(ToQString(choice));
}

// Keeps the cursor where the operator types: only a text that differs is
// set.
void SetText(QLineEdit* edit, const std::string& text) {
  const QString shown = ToQString(text);
  if (edit->text() != shown) edit->setText(shown);
}

void SetText(QComboBox* combo, const std::string& text) {
  const QString shown = ToQString(text);
  if (combo->currentText() != shown) combo->setEditText(shown);
}

std::string FromQString(const QString& text) { return text.toStdString(); }

}  // namespace

SettingsDialog::SettingsDialog(const SettingsChoices& choices,
                               const std::filesystem::path& working_dir,
                               QWidget* parent)
    : QDialog(parent) {
  setObjectName("Sett");
  setWindowTitle(" Alter Settings for ...");
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);
  setMouseTracking(true);
  setFont(QFont("Arial", 8));
  CreateWidgets(choices, working_dir);
  ConnectEdits();
}

void SettingsDialog::CreateWidgets(const SettingsChoices& choices,
                                   const std::filesystem::path& working_dir) {
  auto* background = Named(new QLabel(this), "Image1");
  background->setGeometry(rect());
  background->setScaledContents(true);
  if (auto picture = LoadFacePicture(working_dir / kBackgroundPicture, false)) {
    background->setPixmap(QPixmap::fromImage(*picture));
  }
  CreateTitleAndChart(choices);
  CreateFlags();
  CreateRules(choices);
  CreateLabelButtons();
  label00_ = Named(new QLabel(kProductLine, this), "Label00");
  label00_->setGeometry(8, kClientHeight - 20, 250, 16);
  // The keyboard focus rests on a button nobody sees, so that no field
  // takes the first keystroke.
  auto* rest = Named(new QPushButton(this), "ButtFocus");
  rest->setGeometry(-20, -20, 1, 1);
  rest->setDefault(false);
  rest->setAutoDefault(false);
}

void SettingsDialog::CreateTitleAndChart(const SettingsChoices& choices) {
  auto* title = Named(new QGroupBox(" Title ", this), "Group01");
  title->setGeometry(4, 2, 196, 44);
  edit01_ = Hinted(new QLineEdit(title), "Edit01", "Title of the RfcOrb");
  edit01_->setGeometry(8, 18, 180, 20);

  Caption("Lyout:", this, 8, 54);
  combo80_ =
      Combo("Combo80", "Defines the Chart-Type", this, {44, 50, 78, 22}, false);
  AddChoices(combo80_, kChartKindChoices);
  combo84_ =
      Combo("Combo84", "Defines the Sorting", this, {44, 50, 78, 22}, false);
  AddChoices(combo84_, kSortingChoices);
  combo84_->hide();
  combo85_ =
      Combo("Combo85", "Defines the Chart-Type", this, {126, 50, 72, 22}, true);
  AddChoices(combo85_, choices.gauges);
  combo86_ =
      Combo("Combo86", "Defines the Chart-Type", this, {126, 50, 72, 22}, true);
  AddChoices(combo86_, choices.images);

  Caption("Max Bars:", this, 8, 80);
  edit02_ =
      ReadOnlyField("Edit02", "No of maximal Bars", this, {60, 76, 26, 20});
  spins_[0] = CreateSpin(2, 86, 76);
  history_label_ = Caption("History:", this, 106, 80);
  edit03_ =
      ReadOnlyField("Edit03", "No of History-Bars", this, {148, 76, 32, 20});
  spins_[1] = CreateSpin(3, 180, 76);
  edit09_ =
      ReadOnlyField("Edit09", "No of History-Bars", this, {148, 76, 46, 20});
  edit09_->hide();

  for (int field = 0; field < kChartBarSlots; ++field) {
    const std::string name = "Edit0" + std::to_string(5 + field);
    const std::string hint = "Chart-Bar 0" + std::to_string(1 + field);
    QLineEdit* edit = ReadOnlyField(name.c_str(), hint.c_str(), this,
                                    {8 + field * 30, 102, 26, 20});
    edit->installEventFilter(this);
    bar_edits_[static_cast<size_t>(field)] = edit;
  }
}

QWidget* SettingsDialog::CreateSpin(int spin, int x, int y) {
  const std::string name = "Spin0" + std::to_string(spin);
  auto* box = Named(new QWidget(this), name.c_str());
  box->setGeometry(x, y, 14, 20);
  const std::array<std::pair<Qt::ArrowType, int>, 2> arrows = {
      {{Qt::UpArrow, 1}, {Qt::DownArrow, -1}}};
  for (size_t i = 0; i < arrows.size(); ++i) {
    auto* button = new QToolButton(box);
    button->setObjectName(ToQString(name + (i == 0 ? "Up" : "Down")));
    button->setArrowType(arrows[i].first);
    button->setGeometry(0, static_cast<int>(i) * 10, 14, 10);
    button->setAutoRepeat(true);
    const int direction = arrows[i].second;
    connect(button, &QToolButton::clicked, this,
            [this, spin, direction] { SpinClick(spin, direction); });
  }
  return box;
}

void SettingsDialog::CreateFlags() {
  auto* flags = Named(new QGroupBox(" Flags ", this), "Group02");
  flags->setGeometry(204, 2, 172, 116);
  // Below the frame's top line, as the title's field in its group.
  Caption("Delay:", flags, 8, 22);
  edit04_ = Hinted(new QLineEdit(flags), "Edit04", "Delay-Time for the Sensor");
  edit04_->setGeometry(44, 18, 44, 20);
  edit04_->setMaxLength(kDelayFieldLength);
  edit04_->setAlignment(Qt::AlignRight);
  edit04_->installEventFilter(this);
  spins_[2] = CreateSpin(4, 204 + 88, 2 + 18);
  for (int check = 0; check < kSettingsChecks; ++check) {
    const CheckControl& control = kCheckControls[static_cast<size_t>(check)];
    auto* box = Hinted(new QCheckBox(control.caption, flags), control.name,
                       control.hint);
    box->setLayoutDirection(Qt::RightToLeft);
    const bool left = check < 3;
    box->setGeometry(left ? 6 : 88, 40 + (left ? check : check - 3) * 18, 78,
                     18);
    connect(box, &QCheckBox::clicked, this, [this, check](bool checked) {
      SetChecked(fields_, static_cast<SettingsCheck>(check), checked);
      Bind();
    });
    checks_[static_cast<size_t>(check)] = box;
  }
}

void SettingsDialog::CreateRules(const SettingsChoices& choices) {
  auto* rules = Named(new QGroupBox(" Rule(s) ", this), "Group03");
  rules->setGeometry(4, 122, 324, 92);
  view80_ = Hinted(new QTreeWidget(rules), "View80", "Attached Rules");
  view80_->setGeometry(6, 16, 312, 70);
  view80_->setRootIsDecorated(false);
  view80_->setHeaderLabels({"~   Item...", "..", "Value", "Action"});
  view80_->setColumnWidth(0, 130);
  view80_->setColumnWidth(1, 34);
  view80_->setColumnWidth(2, 60);
  view80_->header()->setStretchLastSection(true);
  view80_->viewport()->installEventFilter(this);

  group04_ = Named(new QFrame(rules), "Group04");
  group04_->setGeometry(6, 62, 312, 24);
  combo81_ = Combo("Combo81", "Selected Item", group04_, {0, 1, 128, 22}, true);
  AddChoices(combo81_, choices.items);
  combo82_ =
      Combo("Combo82", "Compare with...", group04_, {130, 1, 44, 22}, false);
  AddChoices(combo82_, kComparisonChoices);
  edit88_ = Hinted(new QLineEdit(group04_), "Edit88", "Value to compare");
  edit88_->setGeometry(176, 1, 56, 22);
  combo83_ =
      Combo("Combo83", "Attached Action", group04_, {234, 1, 78, 22}, true);
  AddChoices(combo83_, kActionChoices);
  group04_->hide();
}

void SettingsDialog::CreateLabelButtons() {
  const std::array<QPoint, kLabelButtons> places = {
      {{334, 196}, {334, 216}, {334, 138}, {334, 158}}};
  for (size_t i = 0; i < kLabelButtons; ++i) {
    const LabelButtonControl& control = kLabelButtonControls[i];
    auto* bevel = Named(new QFrame(this), control.bevel);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(1);
    bevel->setGeometry(places[i].x() - 2, places[i].y() - 1, 44, 18);
    bevel->hide();
    bevels_[i] = bevel;
    auto* label =
        Hinted(new QLabel(control.caption, this), control.name, control.hint);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(places[i].x(), places[i].y(), 40, 16);
    label->setAlignment(Qt::AlignCenter);
    label->installEventFilter(this);
    buttons_[i] = label;
  }
}

void SettingsDialog::ConnectEdits() {
  TakeText(edit01_, &fields_.title);
  TakeText(edit04_, &fields_.delay_text);
  TakeIndex(combo80_, &fields_.chart_kind);
  TakeIndex(combo84_, &fields_.sorting);
  TakeText(combo85_, &fields_.gauge_choice);
  TakeText(combo86_, &fields_.image_choice);
  RuleFields& rule = fields_.editor.fields;
  TakeText(combo81_, &rule.item);
  TakeText(combo82_, &rule.op);
  TakeText(edit88_, &rule.value);
  TakeText(combo83_, &rule.action);
  connect(view80_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) {
            View80Click(view80_->indexOfTopLevelItem(item));
          });
  connect(view80_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) {
            View80DblClick(view80_->indexOfTopLevelItem(item));
          });
}

// The operator's edits only: what Bind sets raises no change.
void SettingsDialog::TakeText(QLineEdit* edit, std::string* field) {
  connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& t) {
    *field = FromQString(t);
    MarkChanged(fields_);
    Bind();
  });
}

void SettingsDialog::TakeText(QComboBox* combo, std::string* field) {
  connect(combo, &QComboBox::textActivated, this,
          [this, field](const QString& t) {
            *field = FromQString(t);
            MarkChanged(fields_);
            Bind();
          });
  if (QLineEdit* typed = combo->lineEdit()) TakeText(typed, field);
}

void SettingsDialog::TakeIndex(QComboBox* combo, int* field) {
  connect(combo, &QComboBox::activated, this, [this, field](int index) {
    *field = index;
    MarkChanged(fields_);
    Bind();
  });
}

bool SettingsDialog::Run(const SettingsSource& source, OrbConfiguration& config,
                         int item_rows) {
  config_ = &config;
  item_rows_ = item_rows;
  fields_ = FillSettingsFields(source);
  Bind();
  HideBevels();
  ShowHint(QString());
  findChild<QPushButton*>("ButtFocus")->setFocus();
  if (const QScreen* screen = this->screen()) {
    move(screen->geometry().center() - rect().center());
  }
  const bool saved = exec() == QDialog::Accepted;
  config_ = nullptr;
  return saved;
}

void SettingsDialog::SetTitleAlarm(bool alarm) {
  title_alarm_ = alarm;
  QPalette palette = edit01_->palette();
  palette.setColor(QPalette::Base, alarm ? Qt::red : Qt::white);
  edit01_->setPalette(palette);
}

void SettingsDialog::Bind() {
  setWindowTitle(ToQString(fields_.caption));
  SetText(edit01_, fields_.title);
  BindChart();
  BindFlags();
  BindRules();
  BindLabelButtons();
}

void SettingsDialog::BindChart() {
  SetText(edit02_, RightAligned(fields_.max_bars, 2, '0'));
  edit02_->setEnabled(fields_.max_bars_enabled);
  spins_[0]->setEnabled(fields_.max_bars_enabled);
  SetText(edit03_, RightAligned(fields_.history_bars, 3, '0'));
  edit03_->setEnabled(fields_.history_enabled);
  spins_[1]->setEnabled(fields_.history_enabled);
  const bool selection = fields_.selection.has_value();
  edit09_->setVisible(selection);
  edit03_->setVisible(!selection);
  spins_[1]->setVisible(!selection);
  history_label_->setText(selection ? "Select.:" : "History:");
  if (selection) SetText(edit09_, *fields_.selection);
  combo80_->setCurrentIndex(fields_.chart_kind);
  combo84_->setCurrentIndex(fields_.sorting);
  combo84_->setEnabled(fields_.sorting_enabled);
  combo85_->setVisible(fields_.gauge_choice_shown);
  SetText(combo85_, fields_.gauge_choice);
  combo86_->setVisible(fields_.image_choice_shown);
  SetText(combo86_, fields_.image_choice);
  for (size_t field = 0; field < bar_edits_.size(); ++field) {
    SetText(bar_edits_[field], fields_.bars[field]);
    bar_edits_[field]->setEnabled(fields_.bars_enabled[field]);
  }
}

void SettingsDialog::BindFlags() {
  SetText(edit04_, fields_.delay_text);
  for (size_t check = 0; check < checks_.size(); ++check) {
    checks_[check]->setChecked(fields_.checks[check].checked);
    checks_[check]->setEnabled(fields_.checks[check].enabled);
  }
}

void SettingsDialog::BindRules() {
  if (view80_->topLevelItemCount() !=
      static_cast<int>(fields_.rule_rows.size())) {
    view80_->clear();
    for (const RuleFields& rule : fields_.rule_rows) {
      auto* row = new QTreeWidgetItem(
          view80_, {ToQString(rule.item), ToQString(rule.op),
                    ToQString(rule.value), ToQString(rule.action)});
      row->setIcon(0, OrbImage(kRuleImage));
    }
  }
  const RuleEditor& editor = fields_.editor;
  group04_->setVisible(editor.shown);
  combo81_->setEnabled(editor.item_enabled);
  SetText(combo81_, editor.fields.item);
  combo82_->setCurrentText(ToQString(editor.fields.op));
  SetText(edit88_, editor.fields.value);
  SetText(combo83_, editor.fields.action);
}

void SettingsDialog::BindLabelButtons() {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const bool active = fields_.active[i];
    QPalette palette = buttons_[i]->palette();
    palette.setColor(QPalette::WindowText, ToQColor(active ? kMaroon : kGray));
    buttons_[i]->setPalette(palette);
    if (!active) bevels_[i]->hide();
  }
}

void SettingsDialog::Butt01Click() {
  if (config_ == nullptr) return;
  if (auto refusal =
          SaveSettingsFields(fields_, config_->rules, config_->actions)) {
    Bind();
    QMessageBox::information(this, windowTitle(), ToQString(*refusal));
    return;
  }
  accept();
}

void SettingsDialog::Butt02Click() { reject(); }

void SettingsDialog::Butt03Click() {
  NewRule(fields_);
  Bind();
}

void SettingsDialog::Butt04Click() {
  if (config_ == nullptr) return;
  PurgeRule(fields_, config_->rules);
  Bind();
}

void SettingsDialog::SpinClick(int spin, int direction) {
  switch (spin) {
    case 2:
      SpinMaxBars(fields_, direction);
      break;
    case 3:
      SpinHistoryBars(fields_, direction);
      break;
    case 4:
      SpinDelay(fields_, direction);
      break;
    default:
      return;
  }
  Bind();
}

void SettingsDialog::BarDblClick(int field) {
  if (field == 0) {
    StepFirstBar(fields_, item_rows_);
  } else {
    RotateBars(fields_, field);
  }
  Bind();
}

void SettingsDialog::View80Click(int row) {
  SelectRule(fields_, row);
  Bind();
}

void SettingsDialog::View80DblClick(int row) {
  EditRule(fields_, row);
  Bind();
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (watched == buttons_[i]) {
      return LabelButtonEvent(static_cast<int>(i), event);
    }
  }
  if (watched == edit04_ && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    const bool printable = text.size() == 1 && text[0].isPrint();
    return printable && !DelayKeyAccepted(text[0].toLatin1());
  }
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (size_t field = 0; field < bar_edits_.size(); ++field) {
      if (watched == bar_edits_[field]) {
        BarDblClick(static_cast<int>(field));
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool SettingsDialog::LabelButtonEvent(int button, QEvent* event) {
  const auto index = static_cast<size_t>(button);
  if (event->type() == QEvent::Enter) {
    HideBevels();
    if (fields_.active[index]) bevels_[index]->show();
    return false;
  }
  if (event->type() != QEvent::MouseButtonRelease ||
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
    return false;
  }
  static constexpr std::array<void (SettingsDialog::*)(), kLabelButtons>
      kClicks = {&SettingsDialog::Butt01Click, &SettingsDialog::Butt02Click,
                 &SettingsDialog::Butt03Click, &SettingsDialog::Butt04Click};
  (this->*kClicks[index])();
  return true;
}

bool SettingsDialog::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QDialog::event(event);
}

void SettingsDialog::mouseMoveEvent(QMouseEvent* event) {
  HideBevels();
  QDialog::mouseMoveEvent(event);
}

void SettingsDialog::ShowHint(const QString& hint) {
  if (hint.isEmpty()) {
    label00_->setText(kProductLine);
  } else {
    label00_->setText(hint.endsWith("...") ? hint : hint + "...");
  }
}

void SettingsDialog::HideBevels() {
  for (QFrame* bevel : bevels_) bevel->hide();
}

}  // namespace vigil
