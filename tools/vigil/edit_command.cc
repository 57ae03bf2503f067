// vigil add FILE --number NNNN [OPTIONS] and vigil set FILE NUMBER [OPTIONS]:
// an orb's lines changed from named options and written with the orb's
// own save, under the orbs-file lock.
#include <algorithm>
#include <filesystem>

#include "face/chart_bars.h"
#include "store/orb_mode.h"
#include "store/orbs_file.h"
#include "store/text.h"
#include "vigil/command_usage.h"
#include "vigil/commands.h"
#include "vigil/companion_findings.h"
#include "vigil/orb_options.h"
#include "vigil/orb_words.h"
#include "vigil/orbs_file_check.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

enum class Edit { kAdd, kSet };

// What the check finds on the lines of one orb, wherever they are.
std::vector<Finding> OrbFindings(const std::vector<std::string>& lines,
                                 std::string_view mode_word,
                                 const std::string& number) {
  std::vector<Finding> findings;
  for (Finding& finding :
       CheckOrbsLines(lines, {std::string(mode_word), std::nullopt})) {
    if (Mid(lines[static_cast<size_t>(finding.line) - 1], 1, 4) == number) {
      findings.push_back(std::move(finding));
    }
  }
  return findings;
}

// Findings the edit brings: the orb's lines are compared as the save
// would write them, before and after, so that a problem the file had
// already (another orb's overlap, say) does not stop an unrelated change.
std::vector<Finding> NewFindings(const OrbsFileInput& input,
                                 const std::optional<OrbConfiguration>& before,
                                 const OrbConfiguration& after) {
  std::vector<std::string> lines = input.lines;
  if (ScanHeader(lines, input.mode_word).settings.header_line.empty()) {
    lines.insert(lines.begin(), DefaultHeaderLine(input.mode_word));
  }
  const std::string number = after.record.number();
  std::vector<Finding> old_findings;
  if (before) {
    old_findings = OrbFindings(
        RewriteOrbLines(lines, input.mode_word, *before, std::nullopt),
        input.mode_word, number);
  }
  std::vector<Finding> fresh;
  for (Finding& finding :
       OrbFindings(RewriteOrbLines(lines, input.mode_word, after, std::nullopt),
                   input.mode_word, number)) {
    const bool known = std::any_of(
        old_findings.begin(), old_findings.end(), [&](const Finding& old) {
          return old.column == finding.column && old.message == finding.message;
        });
    if (!known) fresh.push_back(std::move(finding));
  }
  return fresh;
}

// What the words of one add or set ask for, once they read.
struct EditRequest {
  Edit edit;
  OptionWords options;
  std::string number;
  std::filesystem::path path;
};

// The orb as the edit begins: a new record, or the lines the file has.
struct OrbToEdit {
  std::optional<OrbConfiguration> before;  // set: the orb as the file has it
  OrbConfiguration orb;
};

std::string_view Verb(Edit edit) { return edit == Edit::kAdd ? "add" : "set"; }

int Refuse(Edit edit, std::ostream& err, const std::string& why) {
  err << "vigil " << Verb(edit) << ": " << why
      << "; the file is left as it was\n";
  return 1;
}

int Usage(Edit edit, std::ostream& err, const std::string& why) {
  err << "vigil " << Verb(edit) << ": " << why << '\n'
      << UsageLineOf(edit == Edit::kAdd ? "add" : "set");
  return 2;
}

Result<OptionWords> ParseEditWords(Edit edit, const Words& words) {
  std::vector<std::string_view> valued = OrbValueOptions();
  if (edit == Edit::kAdd) valued.push_back("number");
  return ParseOptionWords(words, valued, OrbFlagOptions());
}

// add names the orb with --number, set with its second word.
std::string EditedNumber(Edit edit, const OptionWords& options) {
  if (edit == Edit::kAdd) return options.Value("number").value_or("");
  return options.positional[1];
}

// The words that make an edit, or why they make none.
Result<OptionWords> EditWords(Edit edit, const Words& words) {
  OptionWords options = VIGIL_TRY(ParseEditWords(edit, words));
  const size_t wanted = edit == Edit::kAdd ? 1 : 2;
  if (options.positional.size() != wanted) {
    return Failure(edit == Edit::kAdd
                       ? "expected one orbs file"
                       : "expected an orbs file and an orb number");
  }
  if (!IsOrbNumber(EditedNumber(edit, options))) {
    return Failure("an orb number has four digits, row then column, e.g. 0203" +
                   std::string(edit == Edit::kAdd ? " (--number)" : ""));
  }
  if (edit == Edit::kSet && OptionNames(options).empty()) {
    return Failure("nothing to set");
  }
  return options;
}

Result<OrbToEdit> NewOrb(const EditRequest& request,
                         const OrbsFileInput& input) {
  if (KeyInUse(input.lines, request.number)) {
    return Failure("orb number " + request.number + " is taken");
  }
  if (!OrbModeOf(input.mode_word).http && !request.options.Value("program")) {
    return Failure("an " + input.mode_word +
                   " orb needs its sensor program (--program)");
  }
  OrbToEdit start;
  start.orb.record = NewRecord(request.number);
  return start;
}

Result<OrbToEdit> ExistingOrb(const EditRequest& request,
                              const OrbsFileInput& input) {
  OrbLines lines = ScanOrb(input.lines, input.mode_word, request.number);
  if (!lines.record) {
    return Failure(request.path.string() + " has no record of orb " +
                   request.number + " (vigil add makes one)");
  }
  OrbToEdit start;
  start.orb = {*lines.record, lines.rules, lines.actions};
  start.before = start.orb;
  return start;
}

void ReportNewFindings(const EditRequest& request,
                       const std::vector<Finding>& findings,
                       std::ostream& err) {
  for (const Finding& finding : findings) {
    err << "vigil " << Verb(request.edit) << ": orb " << request.number
        << " would read: column " << finding.column << ": " << finding.message
        << '\n';
  }
}

AddOutcome SaveEdit(const EditRequest& request, std::string_view mode_word,
                    const OrbConfiguration& orb) {
  if (request.edit == Edit::kAdd) {
    return AddToOrbsFile(request.path, mode_word, orb);
  }
  return {SaveOrbsFile(request.path, mode_word, orb, std::nullopt), false};
}

// The exit status of a save that failed, after saying why; nullopt when
// the orb was saved.
std::optional<int> SaveFailure(const EditRequest& request, SaveOutcome outcome,
                               std::ostream& err) {
  switch (outcome) {
    case SaveOutcome::kSaved:
      return std::nullopt;
    case SaveOutcome::kTargetTaken:
      return Refuse(
          request.edit, err,
          "orb number " + request.number + " was taken in the meantime");
    case SaveOutcome::kPlaceTaken:
      return Refuse(request.edit, err,
                    "a cell of orb " + request.number +
                        " lies off the grid or under another orb");
    case SaveOutcome::kMissing:
      err << "vigil set: " << request.path.string()
          << ": gone before the save\n";
      return 2;
    case SaveOutcome::kUnreadable:
    case SaveOutcome::kUnwritable:
      err << "vigil: " << request.path.string()
          << ": cannot be rewritten; the file is as it was\n";
      return 2;
  }
  return std::nullopt;
}

void ReportSaved(const EditRequest& request, std::string_view mode_word,
                 bool header_written, std::ostream& out) {
  const std::string path = request.path.string();
  if (header_written) {
    out << path << ": had no header line; wrote "
        << DefaultHeaderLine(mode_word) << " (a grid of " << kDefaultGridRows
        << " rows and " << kDefaultGridColumns << " columns)\n";
  }
  const std::string changed = OptionNames(request.options);
  out << path << ": " << (request.edit == Edit::kAdd ? "added" : "set")
      << " orb " << request.number << (changed.empty() ? "" : ": " + changed)
      << '\n';
}

// A program that is not there would leave the orb without data on its
// first cycle: refused unless the operator says it comes later.
std::optional<std::string> MissingProgram(const EditRequest& request,
                                          std::string_view mode_word,
                                          const ConfigRecord& record) {
  if (!request.options.Value("program") || request.options.Has("force")) {
    return std::nullopt;
  }
  std::vector<Finding> missing;
  CheckSensorProgram(
      record, 0, mode_word,
      SearchFor(request.path, request.options.Values("companion")), missing);
  if (missing.empty()) return std::nullopt;
  return missing.front().message + " (--force writes the orb anyway)";
}

// A history chart without items draws nothing: a new one shows the first
// row until --items chooses others.
void GiveHistoryChartAnItem(OrbConfiguration& orb) {
  const auto bars = orb.record.chart_bars();
  const bool none = std::all_of(bars.begin(), bars.end(),
                                [](const auto& bar) { return bar == kNoBar; });
  if (orb.record.history_mode() && none) orb.record.set_chart_bar(0, "00");
}

// Files may well come after the orb; say what check will ask for.
void NoteMissingFiles(const EditRequest& request, std::string_view mode_word,
                      const ConfigRecord& record, std::ostream& err) {
  std::vector<Finding> missing;
  CheckCompanionFiles(
      record, 0, mode_word,
      SearchFor(request.path, request.options.Values("companion")), missing);
  for (const Finding& finding : missing) {
    err << "vigil: note: orb " << request.number << ": " << finding.message
        << '\n';
  }
}

int RunEdit(Edit edit, const Words& words, std::ostream& out,
            std::ostream& err) {
  const Result<OptionWords> options = EditWords(edit, words);
  if (!options) return Usage(edit, err, options.error());
  const EditRequest request{edit, *options, EditedNumber(edit, *options),
                            options->positional.front()};
  const auto input = LoadOrbsFile(
      request.path, request.options.Value("mode"),
      edit == Edit::kAdd ? Absent::kAllowed : Absent::kRefused, err);
  if (!input) return 2;
  Result<OrbToEdit> opened = edit == Edit::kAdd ? NewOrb(request, *input)
                                                : ExistingOrb(request, *input);
  if (!opened) return Refuse(edit, err, opened.error());
  OrbToEdit& start = *opened;
  if (const auto refusal =
          ApplyOrbOptions(request.options, input->mode_word, start.orb)) {
    return Refuse(edit, err, *refusal);
  }
  if (edit == Edit::kAdd) GiveHistoryChartAnItem(start.orb);
  if (const auto missing =
          MissingProgram(request, input->mode_word, start.orb.record)) {
    return Refuse(edit, err, *missing);
  }
  const std::vector<Finding> findings =
      NewFindings(*input, start.before, start.orb);
  if (!findings.empty()) {
    ReportNewFindings(request, findings, err);
    return Refuse(edit, err, "refused");
  }
  const AddOutcome saved = SaveEdit(request, input->mode_word, start.orb);
  if (const auto status = SaveFailure(request, saved.outcome, err)) {
    return *status;
  }
  ReportSaved(request, input->mode_word, saved.header_written, out);
  NoteMissingFiles(request, input->mode_word, start.orb.record, err);
  return 0;
}

}  // namespace

int RunAdd(const Words& words, std::ostream& out, std::ostream& err) {
  return RunEdit(Edit::kAdd, words, out, err);
}

int RunSet(const Words& words, std::ostream& out, std::ostream& err) {
  return RunEdit(Edit::kSet, words, out, err);
}

}  // namespace vigil::cli
