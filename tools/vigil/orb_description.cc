#include "vigil/orb_description.h"

#include <span>

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

// The first text beside the label, the others lined up under it; "none"
// when there are no texts.
std::vector<std::string> LabelledList(std::string_view label,
                                      const std::vector<std::string>& texts) {
  if (texts.empty()) return {Labelled(label, "none")};
  std::vector<std::string> lines;
  for (const std::string& text : texts) {
    lines.push_back(lines.empty() ? Labelled(label, text) : Continued(text));
  }
  return lines;
}

std::string RuleText(const std::string& rule) {
  const RuleFields fields = SplitRule(rule);
  const Rule parsed = ParseRule(rule);
  if (parsed.op == RuleOperator::kNone || parsed.action == RuleAction::kNone ||
      !ParseInteger(fields.value)) {
    return Quoted(rule) + " (does not read; see vigil check)";
  }
  return "if " + Quoted(fields.item) + " " + fields.op + " " +
         std::to_string(parsed.value) + " then " + fields.action;
}

std::vector<std::string> RuleLines(const std::vector<std::string>& rules) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < rules.size(); ++i) {
    texts.push_back(std::to_string(i + 1) + ". " + RuleText(rules[i]));
  }
  return LabelledList("rules", texts);
}

// The settings lines the orb has, each in words.
std::vector<std::string> ActionLines(const ActionSettings& actions) {
  struct Described {
    const char* name;
    const std::string& settings;
    std::string text;
  };
  const Described described[] = {
      {"state mail", actions.state_mail,
       MailText(kStateMailMarker, actions.state_mail)},
      {"value mail", actions.value_mail,
       MailText(kValueMailMarker, actions.value_mail)},
      {"state exec", actions.state_exec,
       ExecText(kStateExecMarker, actions.state_exec)},
      {"value exec", actions.value_exec,
       ExecText(kValueExecMarker, actions.value_exec)},
      {"trace", actions.trace, TraceText(actions.trace)},
  };
  std::vector<std::string> given;
  for (const Described& action : described) {
    if (action.settings.empty()) continue;
    given.push_back(std::string(action.name) + ": " + action.text);
  }
  return LabelledList("actions", given);
}

// Each text quoted, with a blank between.
std::string QuotedAll(std::span<const std::string> texts) {
  std::string all;
  for (const std::string& text : texts) {
    all += (all.empty() ? "" : " ") + Quoted(text);
  }
  return all;
}

std::string Heading(const ConfigRecord& record) {
  return "orb " + record.number() + " (row " + record.row() + ", column " +
         record.column() + ")";
}

std::string ChartText(const ConfigRecord& record) {
  const auto chart = record.chart_type();
  const auto bars = record.bar_limit();
  return (chart ? std::to_string(*chart) + " " + ChartWord(*chart)
                : "unreadable") +
         (record.history_mode() ? ", history of the chart-bar items "
                                : ", bars of the current values ") +
         Quoted(record.chart_bars_text()) + ", bars shown " +
         (bars && *bars == 0 ? "all" : NumberOr(bars, "")) + ", sorting " +
         SortingWord(record.sorting());
}

std::string GridText(const ConfigRecord& record) {
  const auto size = ParseGridSizeText(record.grid_size_text());
  if (!size) return "unreadable " + Quoted(record.grid_size_text());
  return std::to_string(size->rows) + "x" + std::to_string(size->columns) +
         " cells";
}

std::string DelayText(const ConfigRecord& record) {
  const auto delay = record.delay_time();
  if (!delay) return "unreadable " + Quoted(record.delay_text());
  return std::to_string(*delay) + " seconds";
}

std::string FlagsText(const ConfigRecord& record) {
  return "hold " + OnOff(record.hold()) + ", zoom " +
         OnOff(record.zoom_on_alert()) + ", keep data " +
         OnOff(record.keep_data()) + ", legend " +
         OnOff(record.legend_shown()) + ", chart title " +
         OnOff(record.title_shown());
}

std::string PicturesText(const ConfigRecord& record) {
  return "gauge " + Quoted(record.gauge_number()) + ", image " +
         Quoted(record.image_number()) + ", idle colour " +
         NumberOr(record.idle_colour_code(), "");
}

std::vector<std::string> RecordLines(const ConfigRecord& record,
                                     std::string_view mode_word) {
  const RecordTail tail = record.tail();
  return {
      Heading(record),
      Labelled("name", Quoted(record.display_name())),
      Labelled("face", std::string(1, record.face_mode()) + " " +
                           FaceWord(record.face_mode())),
      Labelled("chart", ChartText(record)),
      Labelled("grid", GridText(record)),
      Labelled("delay", DelayText(record)),
      Labelled("history", NumberOr(record.history_bars(), "") + " bars"),
      Labelled("flags", FlagsText(record)),
      Labelled("pictures", PicturesText(record)),
      Labelled("lock name", Quoted(record.lock_name_field()) + ", read as " +
                                Quoted(record.LockName(mode_word))),
      Labelled("source", Quoted(tail.source)),
      Labelled("program", Quoted(tail.program)),
      Labelled("address", Quoted(tail.address)),
      Labelled("title", Quoted(tail.title)),
  };
}

void Append(std::vector<std::string>& lines,
            const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::string> DescribeOrb(const OrbLines& orb,
                                     std::string_view mode_word) {
  std::vector<std::string> lines = RecordLines(*orb.record, mode_word);
  Append(lines, RuleLines(orb.rules));
  Append(lines, ActionLines(orb.actions));
  if (!orb.captions[0].empty() || !orb.captions[3].empty()) {
    lines.push_back(Labelled("captions", QuotedAll(orb.captions)));
  }
  if (!orb.item_choices.empty()) {
    lines.push_back(Labelled("items", QuotedAll(orb.item_choices)));
  }
  return lines;
}

}  // namespace vigil::cli
