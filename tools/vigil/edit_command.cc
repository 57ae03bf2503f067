// vigil add FILE --number NNNN [OPTIONS] and vigil set FILE NUMBER [OPTIONS]:
// an orb's lines changed from named options and written with the orb's
// own save, under the orbs-file lock.
#include <algorithm>
#include <filesystem>

#include "store/orbs_file.h"
#include "store/text.h"
#include "vigil/commands.h"
#include "vigil/companion_findings.h"
#include "vigil/orb_options.h"
#include "vigil/orbs_file_check.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

enum class Edit { kAdd, kSet };

constexpr char kAddUsage[] =
    "usage: vigil add FILE --number NNNN [--mode MODE] [--name TEXT] "
    "[--face WORD] [--chart WORD] [--grid HxW] [--delay SECONDS] "
    "[--history BARS] [--bars N] [--sorting WORD] [--colour N] [--gauge N] "
    "[--image N] [--history-chart|--hold|--zoom|--keep|--legend|"
    "--chart-title on|off] [--lock NAME] [--source FILE] [--program FILE] "
    "[--address TEXT] [--title TEXT] [--rule RULE]... [--purge-rules] "
    "[--companion DIR]...\n";
constexpr char kSetUsage[] =
    "usage: vigil set FILE NUMBER [OPTIONS of vigil add but --number]\n";

bool IsOrbNumber(std::string_view text) {
  return text.size() == 4 && IsDigits(text);
}

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

int Refuse(Edit edit, std::ostream& err, const std::string& why) {
  err << (edit == Edit::kAdd ? "vigil add: " : "vigil set: ") << why
      << "; the file is left as it was\n";
  return 1;
}

int Usage(Edit edit, std::ostream& err, const std::string& why) {
  err << (edit == Edit::kAdd ? "vigil add: " : "vigil set: ") << why << '\n'
      << (edit == Edit::kAdd ? kAddUsage : kSetUsage);
  return 2;
}

int RunEdit(Edit edit, const Words& words, std::ostream& out,
            std::ostream& err) {
  std::vector<std::string_view> valued = OrbValueOptions();
  if (edit == Edit::kAdd) valued.push_back("number");
  const OptionWords options = ParseOptionWords(words, valued, OrbFlagOptions());
  const size_t wanted = edit == Edit::kAdd ? 1 : 2;
  if (!options.error.empty()) return Usage(edit, err, options.error);
  if (options.positional.size() != wanted) {
    return Usage(edit, err,
                 edit == Edit::kAdd
                     ? "expected one orbs file"
                     : "expected an orbs file and an orb number");
  }
  const std::string number = edit == Edit::kAdd
                                 ? options.Value("number").value_or("")
                                 : options.positional[1];
  if (!IsOrbNumber(number)) {
    return Usage(edit, err,
                 "an orb number has four digits, row then column, e.g. 0203" +
                     std::string(edit == Edit::kAdd ? " (--number)" : ""));
  }
  if (edit == Edit::kSet && OptionNames(options).empty()) {
    return Usage(edit, err, "nothing to set");
  }
  const std::filesystem::path path = options.positional.front();
  const auto input = LoadOrbsFile(
      path, options.Value("mode"),
      edit == Edit::kAdd ? Absent::kAllowed : Absent::kRefused, err);
  if (!input) return 2;

  std::optional<OrbConfiguration> before;
  OrbConfiguration orb;
  if (edit == Edit::kAdd) {
    if (KeyInUse(input->lines, number)) {
      return Refuse(edit, err, "orb number " + number + " is taken");
    }
    if (input->mode_word != "HttpOrb" && !options.Value("program")) {
      return Refuse(edit, err,
                    "an " + input->mode_word +
                        " orb needs its sensor program (--program)");
    }
    orb.record = NewRecord(number);
  } else {
    OrbLines lines = ScanOrb(input->lines, input->mode_word, number);
    if (!lines.record) {
      return Refuse(edit, err,
                    path.string() + " has no record of orb " + number +
                        " (vigil add makes one)");
    }
    orb = {*lines.record, lines.rules, lines.actions};
    before = orb;
  }
  if (const auto refusal = ApplyOrbOptions(options, input->mode_word, orb)) {
    return Refuse(edit, err, *refusal);
  }
  const std::vector<Finding> findings = NewFindings(*input, before, orb);
  if (!findings.empty()) {
    for (const Finding& finding : findings) {
      err << "vigil " << (edit == Edit::kAdd ? "add" : "set") << ": orb "
          << number << " would read: column " << finding.column << ": "
          << finding.message << '\n';
    }
    return Refuse(edit, err, "refused");
  }

  SaveOutcome outcome = SaveOutcome::kSaved;
  bool header_written = false;
  if (edit == Edit::kAdd) {
    const AddOutcome added = AddToOrbsFile(path, input->mode_word, orb);
    outcome = added.outcome;
    header_written = added.header_written;
  } else {
    outcome = SaveOrbsFile(path, input->mode_word, orb, std::nullopt);
  }
  switch (outcome) {
    case SaveOutcome::kSaved:
      break;
    case SaveOutcome::kTargetTaken:
      return Refuse(edit, err,
                    "orb number " + number + " was taken in the meantime");
    case SaveOutcome::kMissing:
      err << "vigil set: " << path.string() << ": gone before the save\n";
      return 2;
    case SaveOutcome::kUnreadable:
    case SaveOutcome::kUnwritable:
      err << "vigil: " << path.string()
          << ": cannot be rewritten; the file is as it was\n";
      return 2;
  }
  if (header_written) {
    out << path.string() << ": had no header line; wrote "
        << DefaultHeaderLine(input->mode_word) << " (a grid of "
        << kDefaultGridRows << " rows and " << kDefaultGridColumns
        << " columns)\n";
  }
  const std::string changed = OptionNames(options);
  out << path.string() << ": " << (edit == Edit::kAdd ? "added" : "set")
      << " orb " << number << (changed.empty() ? "" : ": " + changed) << '\n';
  // Files may well come after the orb; say what check will ask for.
  FileSearch search;
  for (const std::string& dir : options.Values("companion")) {
    search.companion_dirs.emplace_back(dir);
  }
  search.working_dir = path.parent_path();
  std::vector<Finding> missing;
  CheckCompanionFiles(orb.record, 0, input->mode_word, search, missing);
  for (const Finding& finding : missing) {
    err << "vigil: note: orb " << number << ": " << finding.message << '\n';
  }
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
