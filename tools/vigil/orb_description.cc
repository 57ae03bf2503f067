#include "vigil/orb_description.h"

#include "actions/exec_action.h"
#include "actions/mail_action.h"
#include "actions/settings_fields.h"
#include "actions/trace_log.h"
#include "monitor/rule.h"
#include "store/text.h"
#include "vigil/action_marks.h"
#include "vigil/orb_words.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

constexpr int kLabelWidth = 10;

std::string Labelled(std::string_view label, std::string_view value) {
  std::string line = "  " + std::string(label) + ":";
  line.resize(kLabelWidth + 3, ' ');
  return line + std::string(value);
}

// Further lines of one label line up under its value.
std::string Continued(std::string_view value) {
  return std::string(kLabelWidth + 3, ' ') + std::string(value);
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string NumberOr(const std::optional<int>& number, std::string_view raw) {
  return number ? std::to_string(*number) : "unreadable " + Quoted(raw);
}

std::string StatesMarked(char marker, std::string_view settings) {
  std::string states;
  for (const ActionMark& mark : ActionMarks(marker)) {
    if (mark.state == 0 || !MarkedAt(settings, mark.column)) continue;
    states += (states.empty() ? "" : " ") +
              std::string(kStateNames[static_cast<size_t>(mark.state) - 1]);
  }
  return states.empty() ? "none" : states;
}

// "on" only with "X E" in columns 1-3, as the dispatch reads them.
std::string Switch(std::string_view settings) {
  return EnabledAt(settings, 1) ? "on" : "off";
}

std::string MailText(char marker, std::string_view settings) {
  const MailFields mail = ParseMailFields(settings, ActionFieldsColumn(marker));
  std::string text = Switch(settings);
  if (marker == kStateMailMarker) {
    text += ", states " + StatesMarked(marker, settings);
  }
  text += ", to " + Quoted(mail.first_address) + " " +
          Quoted(mail.second_address) + ", subject " + Quoted(mail.subject) +
          ", server " + Quoted(mail.server_host) + ", account " +
          Quoted(mail.account) +
          (mail.password.empty() ? ", no password" : ", a password");
  return text;
}

std::string ExecText(char marker, std::string_view settings) {
  const ExecFields exec =
      ParseExecSettings(settings, ActionFieldsColumn(marker));
  std::string text = Switch(settings);
  if (marker == kStateExecMarker) {
    text += ", states " + StatesMarked(marker, settings);
  }
  switch (exec.mode) {
    case ExecMode::kInterpreter:
      text += ", through the shell";
      break;
    case ExecMode::kDirect:
      text += ", started directly";
      break;
    case ExecMode::kDetached:
      text += ", not waited for";
      break;
  }
  return text + ", program " + Quoted(exec.program) + ", parameters " +
         Quoted(exec.parameters) + ", directory " + Quoted(exec.working_dir);
}

std::string TraceText(std::string_view settings) {
  std::string text;
  const std::pair<int, const char*> switches[] = {{1, "mail log"},
                                                  {5, "exec log"},
                                                  {9, "value traces"},
                                                  {13, "run traces"}};
  for (const auto& [column, name] : switches) {
    text += std::string(text.empty() ? "" : ", ") + name + " " +
            OnOff(EnabledAt(settings, column));
  }
  text += "; logs";
  for (const ActionKind kind :
       {ActionKind::kStateMail, ActionKind::kStateExec, ActionKind::kValueTrace,
        ActionKind::kRunTrace}) {
    text += " " + Quoted(LogFileName(settings, kind));
  }
  return text;
}

std::vector<std::string> RuleLines(const std::vector<std::string>& rules) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < rules.size(); ++i) {
    const RuleFields fields = SplitRule(rules[i]);
    const Rule rule = ParseRule(rules[i]);
    std::string text = std::to_string(i + 1) + ". ";
    if (rule.op == RuleOperator::kNone || rule.action == RuleAction::kNone ||
        !ParseInteger(fields.value)) {
      text += Quoted(rules[i]) + " (does not read; see vigil check)";
    } else {
      text += "if " + Quoted(fields.item) + " " + fields.op + " " +
              std::to_string(rule.value) + " then " + fields.action;
    }
    lines.push_back(i == 0 ? Labelled("rules", text) : Continued(text));
  }
  if (lines.empty()) lines.push_back(Labelled("rules", "none"));
  return lines;
}

}  // namespace

std::vector<std::string> DescribeOrb(const OrbLines& orb,
                                     std::string_view mode_word) {
  const ConfigRecord& record = *orb.record;
  const RecordTail tail = record.tail();
  std::vector<std::string> lines;
  lines.push_back("orb " + record.number() + " (row " + record.row() +
                  ", column " + record.column() + ")");
  lines.push_back(Labelled("name", Quoted(record.display_name())));
  lines.push_back(Labelled("face", std::string(1, record.face_mode()) + " " +
                                       FaceWord(record.face_mode())));
  const auto chart = record.chart_type();
  const auto bars = record.bar_limit();
  lines.push_back(Labelled(
      "chart", (chart ? std::to_string(*chart) + " " + ChartWord(*chart)
                      : "unreadable") +
                   (record.history_mode() ? ", history of the chart-bar items "
                                          : ", bars of the current values ") +
                   Quoted(record.chart_bars_text()) + ", bars shown " +
                   (bars && *bars == 0 ? "all" : NumberOr(bars, "")) +
                   ", sorting " + SortingWord(record.sorting())));
  const auto size = ParseGridSizeText(record.grid_size_text());
  lines.push_back(
      Labelled("grid", size ? std::to_string(size->rows) + "x" +
                                  std::to_string(size->columns) + " cells"
                            : "unreadable " + Quoted(record.grid_size_text())));
  const auto delay = record.delay_time();
  lines.push_back(
      Labelled("delay", delay ? std::to_string(*delay) + " seconds"
                              : "unreadable " + Quoted(record.delay_text())));
  lines.push_back(
      Labelled("history", NumberOr(record.history_bars(), "") + " bars"));
  lines.push_back(
      Labelled("flags", "hold " + OnOff(record.hold()) + ", zoom " +
                            OnOff(record.zoom_on_alert()) + ", keep data " +
                            OnOff(record.keep_data()) + ", legend " +
                            OnOff(record.legend_shown()) + ", chart title " +
                            OnOff(record.title_shown())));
  lines.push_back(Labelled(
      "pictures", "gauge " + Quoted(record.gauge_number()) + ", image " +
                      Quoted(record.image_number()) + ", idle colour " +
                      NumberOr(record.idle_colour_code(), "")));
  lines.push_back(
      Labelled("lock name", Quoted(record.lock_name_field()) + ", read as " +
                                Quoted(record.LockName(mode_word))));
  lines.push_back(Labelled("source", Quoted(tail.source)));
  lines.push_back(Labelled("program", Quoted(tail.program)));
  lines.push_back(Labelled("address", Quoted(tail.address)));
  lines.push_back(Labelled("title", Quoted(tail.title)));
  for (std::string& line : RuleLines(orb.rules)) lines.push_back(line);
  const ActionSettings& actions = orb.actions;
  const std::pair<const char*, std::string> action_lines[] = {
      {"state mail", MailText(kStateMailMarker, actions.state_mail)},
      {"value mail", MailText(kValueMailMarker, actions.value_mail)},
      {"state exec", ExecText(kStateExecMarker, actions.state_exec)},
      {"value exec", ExecText(kValueExecMarker, actions.value_exec)},
      {"trace", TraceText(actions.trace)},
  };
  const std::string* texts[] = {&actions.state_mail, &actions.value_mail,
                                &actions.state_exec, &actions.value_exec,
                                &actions.trace};
  bool any_action = false;
  for (size_t i = 0; i < std::size(action_lines); ++i) {
    if (texts[i]->empty()) continue;
    const std::string text =
        std::string(action_lines[i].first) + ": " + action_lines[i].second;
    lines.push_back(any_action ? Continued(text) : Labelled("actions", text));
    any_action = true;
  }
  if (!any_action) lines.push_back(Labelled("actions", "none"));
  if (!orb.captions[0].empty() || !orb.captions[3].empty()) {
    std::string captions;
    for (const std::string& caption : orb.captions) {
      captions += (captions.empty() ? "" : " ") + Quoted(caption);
    }
    lines.push_back(Labelled("captions", captions));
  }
  if (!orb.item_choices.empty()) {
    std::string items;
    for (const std::string& item : orb.item_choices) {
      items += (items.empty() ? "" : " ") + Quoted(item);
    }
    lines.push_back(Labelled("items", items));
  }
  return lines;
}

}  // namespace vigil::cli
