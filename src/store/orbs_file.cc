#include "store/orbs_file.h"

#include "store/file_lock.h"
#include "store/grid_cover.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

constexpr std::string_view kSatelliteMarkers = "*#@$%!&\xA7";

bool HasUtf8TraceMarker(std::string_view line) {
  return Mid(line, kMarkerColumn, 2) == kTraceMarkerUtf8;
}

std::string Key(std::string_view line) {
  return Mid(line, kLineKey.from, kLineKey.count);
}

void AppendItemChoices(std::string_view content,
                       std::vector<std::string>& choices) {
  std::string rest(content);
  while (!rest.empty()) {
    const size_t end = rest.find(';');
    if (end == std::string::npos) {
      choices.push_back(rest);
      return;
    }
    choices.push_back(rest.substr(0, end));
    rest.erase(0, end + 1);
  }
}

std::array<std::string, 4> SplitCaptions(std::string_view content) {
  std::array<std::string, 4> captions;
  std::string rest(content);
  for (int i = 0; i < 3; ++i) {
    captions[i] = BeforeFirst(rest, ';');
    rest = AfterFirst(rest, ';');
  }
  captions[3] = rest;
  return captions;
}

std::string* ActionFor(char marker, ActionSettings& actions) {
  switch (marker) {
    case kStateMailMarker:
      return &actions.state_mail;
    case kValueMailMarker:
      return &actions.value_mail;
    case kStateExecMarker:
      return &actions.state_exec;
    case kValueExecMarker:
      return &actions.value_exec;
    case kTraceMarker:
      return &actions.trace;
    default:
      return nullptr;
  }
}

// Writes "§" the way the file already does, UTF-8 when it shows none.
std::string TraceMarkerFor(const std::vector<std::string>& file_lines) {
  for (const std::string& line : file_lines) {
    if (HasUtf8TraceMarker(line)) return std::string(kTraceMarkerUtf8);
    if (Mid(line, 6, 1) == std::string(1, kTraceMarker)) {
      return std::string(1, kTraceMarker);
    }
  }
  return std::string(kTraceMarkerUtf8);
}

std::string_view LineEndingOf(std::string_view bytes) {
  return bytes.empty() || bytes.find("\r\n") != std::string_view::npos ||
                 bytes.find('\n') == std::string_view::npos
             ? kCrLf
             : std::string_view("\n");
}

SaveOutcome WriteOrbsFile(const std::filesystem::path& file,
                          const std::vector<std::string>& lines,
                          std::string_view eol) {
  return WriteLinesAtomically(file, lines, eol) ? SaveOutcome::kSaved
                                                : SaveOutcome::kUnwritable;
}

}  // namespace

Satellite ReadSatellite(std::string_view line) {
  if (HasUtf8TraceMarker(line)) {
    return {kTraceMarker, Mid(line, kMarkerColumn + 3), kMarkerColumn + 3};
  }
  const std::string marker = Mid(line, kMarkerColumn, 1);
  if (marker.empty() ||
      kSatelliteMarkers.find(marker[0]) == std::string_view::npos) {
    return {};
  }
  return {marker[0], Mid(line, kMarkerColumn + 2), kMarkerColumn + 2};
}

bool IsRecordLine(std::string_view line, std::string_view mode_word) {
  if (ReadSatellite(line).marker != 0) return false;
  return Mid(line, header_layout::kForm.from, header_layout::kForm.count) !=
         std::string(mode_word) + "... ";
}

std::string HeaderForm(std::string_view mode_word) {
  std::string form = std::string(mode_word) + "s";
  const auto width = static_cast<size_t>(header_layout::kForm.count);
  if (form.size() < width) form.resize(width, '.');
  return form;
}

std::string DefaultHeaderLine(std::string_view mode_word) {
  return TwoDigits(kDefaultGridRows) + TwoDigits(kDefaultGridColumns) + " " +
         HeaderForm(mode_word) + "   .";
}

bool IsHeaderLine(std::string_view line, std::string_view mode_word) {
  return Mid(line, header_layout::kForm.from, header_layout::kForm.count) ==
         HeaderForm(mode_word);
}

HeaderScan ScanHeader(const std::vector<std::string>& lines,
                      std::string_view mode_word) {
  HeaderScan scan;
  for (const std::string& line : lines) {
    if (!IsHeaderLine(line, mode_word)) continue;
    HeaderScan current;
    HeaderSettings& header = current.settings;
    header.header_line = line;
    auto field = [&line](ColumnSpan span) {
      return Mid(line, span.from, span.count);
    };
    header.log_every_event = field(header_layout::kLogMode) != ".";
    header.hide_while_green = field(header_layout::kHideWhileGreen) == "X";
    header.unattended = field(header_layout::kUnattended) == "U";
    header.own_rules_only = field(header_layout::kOwnRulesOnly) == "O";
    header.notify_desktop = field(header_layout::kNotifyDesktop) == "N";
    const auto rows = ParseInteger(field(header_layout::kRows));
    const auto columns = ParseInteger(field(header_layout::kColumns));
    if (!rows || !columns || *rows < 1 || *columns < 1) {
      current.error =
          "Header grid '" + Mid(line, 1, 4) + "' invalid, please Check !";
    } else {
      header.rows = *rows;
      header.columns = *columns;
    }
    const std::string frame = field(header_layout::kFrameWidth);
    if (!IsBlank(frame)) {
      const auto width = ParseInteger(frame);
      if (width && *width >= 0) {
        header.frame_width = *width;
      } else if (current.error.empty()) {
        current.error =
            "Header frame width '" + frame + "' invalid, please Check !";
      }
    }
    const std::string label_offset = field(header_layout::kLabelSizeOffset);
    if (IsDigits(label_offset)) {
      header.label_size_offset = *ParseInteger(label_offset);
    }
    const std::string caption_offset = field(header_layout::kCaptionSizeOffset);
    if (IsDigits(caption_offset)) {
      header.caption_size_offset = *ParseInteger(caption_offset);
    }
    const std::string monitor = field(header_layout::kGridMonitor);
    if (const auto grid_monitor = ParseGridMonitor(monitor)) {
      header.grid_monitor = *grid_monitor;
    } else if (current.error.empty()) {
      current.error =
          "Header monitor '" + Trim(monitor) + "' invalid, please Check !";
    }
    scan = std::move(current);
  }
  return scan;
}

OrbLines ScanOrb(const std::vector<std::string>& lines,
                 std::string_view mode_word, std::string_view orb_number) {
  OrbLines orb;
  for (const std::string& line : lines) {
    if (Key(line) != orb_number) continue;
    if (IsRecordLine(line, mode_word)) {
      orb.record = line;
      continue;
    }
    const Satellite satellite = ReadSatellite(line);
    if (satellite.marker == kRuleMarker) {
      orb.rules.push_back(satellite.content);
    } else if (satellite.marker == kCaptionsMarker) {
      orb.captions = SplitCaptions(satellite.content);
    } else if (satellite.marker == kItemNamesMarker) {
      AppendItemChoices(satellite.content, orb.item_choices);
    } else if (std::string* action = ActionFor(satellite.marker, orb.actions)) {
      *action = satellite.content;
    }
  }
  return orb;
}

CellSize CellSizeFor(const HeaderSettings& header, int screen_width,
                     int screen_height) {
  return {screen_width / header.columns, screen_height / header.rows};
}

std::vector<std::string> ActionSettings::SaveLines(
    std::string_view number, std::string_view trace_marker) const {
  const std::string key(number);
  return {key + " $ " + state_mail, key + " % " + value_mail,
          key + " ! " + state_exec, key + " & " + value_exec,
          key + " " + std::string(trace_marker) + " " + trace};
}

std::vector<std::string> RuleSaveLines(std::string_view number,
                                       const std::vector<std::string>& rules) {
  std::vector<std::string> lines;
  for (const std::string& rule : rules) {
    lines.push_back(std::string(number) + " # " + rule);
  }
  return lines;
}

bool KeyInUse(const std::vector<std::string>& file_lines,
              std::string_view number) {
  for (const std::string& line : file_lines) {
    if (Key(line) == number) return true;
  }
  return false;
}

std::vector<std::string> RewriteOrbLines(
    const std::vector<std::string>& file_lines, std::string_view mode_word,
    const OrbConfiguration& orb, const std::optional<MoveNote>& move_note) {
  const std::string number = orb.record.number();
  const std::string old_number =
      move_note ? Mid(move_note->old_number, 1, 4) : number;
  std::vector<std::string> kept;
  std::vector<std::string> set_aside;  // "*" and "@" lines, last first
  for (auto line = file_lines.rbegin(); line != file_lines.rend(); ++line) {
    // A header line whose grid happens to read like the orb number stays.
    if (Key(*line) != old_number || IsHeaderLine(*line, mode_word)) {
      kept.push_back(*line);
      continue;
    }
    const char marker = ReadSatellite(*line).marker;
    if (marker == kItemNamesMarker || marker == kCaptionsMarker) {
      set_aside.push_back(*line);
    }
  }
  std::vector<std::string> result(kept.rbegin(), kept.rend());
  for (const std::string& line : set_aside) {
    result.push_back(number + Mid(line, 5));
  }
  result.push_back(orb.record.text());
  for (std::string& line : RuleSaveLines(number, orb.rules)) {
    result.push_back(std::move(line));
  }
  for (std::string& line :
       orb.actions.SaveLines(number, TraceMarkerFor(file_lines))) {
    result.push_back(std::move(line));
  }
  return result;
}

namespace {

// A move or a new size must find each of its cells inside the grid and
// free; a save that keeps the place is never refused for it.
bool PlaceRefused(const std::vector<std::string>& file_lines,
                  std::string_view mode_word, const OrbConfiguration& orb,
                  const std::optional<MoveNote>& move_note) {
  const std::string own =
      move_note ? move_note->old_number : orb.record.number();
  const std::optional<ConfigRecord> stored =
      ScanOrb(file_lines, mode_word, own).record;
  const bool moved = move_note && move_note->new_number != own;
  const bool resized =
      !stored || stored->grid_size_text() != orb.record.grid_size_text();
  if (!moved && !resized) return false;
  return CheckPlace(file_lines, mode_word, PlaceOf(orb.record), own).outcome !=
         PlaceCheck::Outcome::kFree;
}

}  // namespace

SaveOutcome SaveOrbsFile(const std::filesystem::path& file,
                         std::string_view mode_word,
                         const OrbConfiguration& orb,
                         const std::optional<MoveNote>& move_note) {
  FileLock lock(file);
  if (!FileExists(file)) return SaveOutcome::kMissing;
  const auto bytes = ReadFileBytes(file);
  if (!bytes) return SaveOutcome::kUnreadable;
  const std::vector<std::string> file_lines = SplitLines(*bytes);
  if (move_note && move_note->new_number != move_note->old_number &&
      KeyInUse(file_lines, move_note->new_number)) {
    return SaveOutcome::kTargetTaken;
  }
  if (PlaceRefused(file_lines, mode_word, orb, move_note)) {
    return SaveOutcome::kPlaceTaken;
  }
  const std::vector<std::string> lines =
      RewriteOrbLines(file_lines, mode_word, orb, move_note);
  return WriteOrbsFile(file, lines, LineEndingOf(*bytes));
}

SaveOutcome RemoveFromOrbsFile(const std::filesystem::path& file,
                               std::string_view mode_word,
                               std::string_view number) {
  FileLock lock(file);
  if (!FileExists(file)) return SaveOutcome::kMissing;
  const auto bytes = ReadFileBytes(file);
  if (!bytes) return SaveOutcome::kUnreadable;
  std::vector<std::string> lines = SplitLines(*bytes);
  const size_t before = lines.size();
  std::erase_if(lines, [&](const std::string& line) {
    return Key(line) == number && !IsHeaderLine(line, mode_word);
  });
  if (lines.size() == before) return SaveOutcome::kMissing;
  return WriteOrbsFile(file, lines, LineEndingOf(*bytes));
}

AddOutcome AddToOrbsFile(const std::filesystem::path& file,
                         std::string_view mode_word,
                         const OrbConfiguration& orb) {
  FileLock lock(file);
  std::string bytes;
  if (FileExists(file)) {
    auto read = ReadFileBytes(file);
    if (!read) return {SaveOutcome::kUnreadable};
    bytes = std::move(*read);
  }
  std::vector<std::string> file_lines = SplitLines(bytes);
  if (KeyInUse(file_lines, orb.record.number())) {
    return {SaveOutcome::kTargetTaken};
  }
  if (CheckPlace(file_lines, mode_word, PlaceOf(orb.record),
                 orb.record.number())
          .outcome != PlaceCheck::Outcome::kFree) {
    return {SaveOutcome::kPlaceTaken};
  }
  AddOutcome added;
  if (ScanHeader(file_lines, mode_word).settings.header_line.empty()) {
    file_lines.insert(file_lines.begin(), DefaultHeaderLine(mode_word));
    added.header_written = true;
  }
  added.outcome =
      WriteOrbsFile(file, RewriteOrbLines(file_lines, mode_word, orb, {}),
                    LineEndingOf(bytes));
  return added;
}

ProfileCopy CopyToAttachedProfile(
    const std::optional<std::filesystem::path>& source,
    const std::filesystem::path& attached_profile) {
  std::vector<std::string> profile;
  if (source) {
    const auto lines = ReadLines(*source);
    if (!lines) return ProfileCopy::kSourceUnreadable;
    profile = AttachedProfileLines(*lines);
  }
  return WriteLines(attached_profile, profile) ? ProfileCopy::kWritten
                                               : ProfileCopy::kNotWritten;
}

std::vector<std::string> AttachedProfileLines(
    const std::vector<std::string>& source_lines) {
  std::vector<std::string> lines;
  for (const std::string& line : source_lines) {
    if (Mid(line, 1, 1) == "#" && Mid(line, 1, 8) != "# Dudi: ") continue;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vigil
