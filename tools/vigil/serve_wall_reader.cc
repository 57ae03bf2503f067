#include "vigil/serve_wall_reader.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "store/colour.h"
#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/lock_holder.h"
#include "store/orb_names.h"
#include "store/orb_values.h"
#include "store/orbs_file.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/action_marks.h"
#include "vigil/launcher_files.h"
#include "vigil/orb_words.h"
#include "vigil/wall_events.h"
#include "vigil/wall_orbs.h"

namespace vigil::cli {
namespace {

constexpr auto kLookLifetime = std::chrono::milliseconds(500);

double UnixNow() {
  return std::chrono::duration<double>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string HexColour(Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g,
                colour.b);
  return text;
}

// The colours the orb itself takes in each state.
Rgb StateColour(int code) {
  switch (code) {
    case state_code::kYellow:
      return kYellow;
    case state_code::kRed:
      return kRed;
    case state_code::kNoData:
    case state_code::kSuspended:
      return kSilver;
    case state_code::kStopped:
      return kGray;
    default:
      return kNeutral;
  }
}

// In a cycle the orb holds its lock and its work file is being written.
bool InCycle(const std::filesystem::path& dir, const WallOrb& orb) {
  const CompanionFiles files(dir, orb.mode_word, orb.number);
  const auto holder = ParseLockHolder(
      ReadFileBytes(files.LockFile(orb.record.LockName(orb.mode_word)))
          .value_or(""));
  return holder && holder->stem == orb.stem();
}

std::string CodeOf(const std::string& log_line) {
  const auto event = ReadLogEvent(log_line);
  return event ? event->code : std::string();
}

struct StateChoice {
  int code = state_code::kStarting;
  std::string no_data;
};

// A suspended orb has its markers cleared, so its last event tells; a
// result without data leaves the markers of the last good cycle.
StateChoice ChooseState(const OrbCondition& condition,
                        const std::optional<OrbReading>& reading) {
  const std::string& marker = condition.marker;
  if (condition.process != ProcessState::kRunning &&
      condition.process != ProcessState::kUnknown) {
    return {state_code::kStopped, {}};
  }
  if (marker == "starting") return {state_code::kStarting, {}};
  const std::string code = CodeOf(condition.last_event);
  if (marker == "none" && code == "Susp") return {state_code::kSuspended, {}};
  if (marker == "none" && code == "Rsme") return {state_code::kResumed, {}};
  if (reading && !reading->no_data.empty()) {
    return {state_code::kNoData, reading->no_data};
  }
  if (marker == "failed") {
    return {state_code::kNoData, "the sensor program could not be started"};
  }
  if (marker == "red") return {state_code::kRed, {}};
  if (marker == "yellow") return {state_code::kYellow, {}};
  if (marker == "green" || reading) return {state_code::kGreen, {}};
  return {state_code::kStarting, {}};
}

int NumberPart(const std::string& digits) {
  return std::max(1, ParseInteger(digits).value_or(1));
}

void PlaceOnGrid(const ConfigRecord& record, ServedOrb& orb) {
  orb.row = NumberPart(record.row());
  orb.column = NumberPart(record.column());
  const GridSize cells =
      ParseGridSizeText(record.grid_size_text()).value_or(GridSize{});
  orb.cell_rows = cells.rows;
  orb.cell_columns = cells.columns;
}

std::string EventText(const std::string& line, const LogEvent& event) {
  std::string text = Mid(line, 1, 17) + " " + event.code;
  if (!event.number.empty()) text += " " + event.number;
  if (!event.message.empty()) text += " " + Trim(event.message);
  return WithoutCredentials(ToDisplayUtf8(text));
}

std::vector<std::string> NewestEvents(const std::filesystem::path& dir,
                                      const std::vector<std::string>& modes) {
  std::vector<std::pair<std::string, std::string>> events;  // key, text
  for (const std::string& mode : modes) {
    const auto lines = ReadLines(dir / EventLogName(mode));
    for (const std::string& line : lines.value_or(std::vector<std::string>{})) {
      if (const auto event = ReadLogEvent(line)) {
        events.emplace_back(event->time_key, EventText(line, *event));
      }
    }
  }
  // The log grows at its end: among equal times the later line is newer.
  std::stable_sort(
      events.begin(), events.end(),
      [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> newest;
  for (auto event = events.rbegin();
       event != events.rend() && newest.size() < kServedEvents; ++event) {
    newest.push_back(event->second);
  }
  return newest;
}

// The grid of the orbs files' headers, widened to hold every orb.
void SizeGrid(const std::filesystem::path& dir,
              const std::vector<std::string>& modes, ServedWall& wall) {
  for (const std::string& mode : modes) {
    const auto lines = ReadLines(dir / OrbsFileName(mode));
    const HeaderScan header =
        ScanHeader(lines.value_or(std::vector<std::string>{}), mode);
    wall.rows = std::max(wall.rows, header.settings.rows);
    wall.columns = std::max(wall.columns, header.settings.columns);
  }
  for (const ServedOrb& orb : wall.orbs) {
    wall.rows = std::max(wall.rows, orb.row + orb.cell_rows - 1);
    wall.columns = std::max(wall.columns, orb.column + orb.cell_columns - 1);
  }
}

}  // namespace

std::string WithoutCredentials(std::string text) {
  static constexpr std::string_view kSecretKeys[] = {
      "password=", "passhash=", "apitoken="};
  const std::string lower = ToLower(text);
  for (const std::string_view key : kSecretKeys) {
    for (size_t at = lower.find(key); at != std::string::npos;
         at = lower.find(key, at + 1)) {
      const size_t from = at + key.size();
      size_t to = text.find_first_of("&; \"'", from);
      if (to == std::string::npos) to = text.size();
      // Marked blank in place, so that the positions found stay valid.
      for (size_t i = from; i < to; ++i) text[i] = '\x01';
    }
  }
  std::string masked;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\x01') {
      masked += text[i];
    } else if (i == 0 || text[i - 1] != '\x01') {
      masked += "***";
    }
  }
  return masked;
}

WallReader::WallReader(std::filesystem::path dir,
                       std::vector<std::string> modes)
    : dir_(std::move(dir)), modes_(std::move(modes)) {}

ServedWall WallReader::Look() {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  if (!looked_at_ || now - *looked_at_ >= kLookLifetime) {
    last_look_ = LookNow();
    looked_at_ = now;
  }
  return last_look_;
}

ServedWall WallReader::LookNow() {
  ServedWall wall;
  wall.name = dir_.filename().string();
  if (wall.name.empty()) wall.name = "wall";
  const WallScan scan = ReadWall(dir_, modes_);
  if (!scan.error.empty()) {
    wall.error = scan.error;
    return wall;
  }
  std::vector<OrbCondition> conditions =
      SurveyWall(dir_, scan.orbs, LauncherFiles(dir_));
  SortByNumber(conditions);
  const double now = UnixNow();
  for (const OrbCondition& condition : conditions) {
    wall.orbs.push_back(Describe(condition, now));
  }
  SizeGrid(dir_, scan.modes, wall);
  wall.events = NewestEvents(dir_, scan.modes);
  return wall;
}

std::optional<OrbReading> WallReader::CurrentReading(const WallOrb& orb) {
  const std::string stem = orb.stem();
  if (InCycle(dir_, orb)) {
    const auto known = readings_.find(stem);
    if (known == readings_.end()) return std::nullopt;
    return known->second;
  }
  std::optional<OrbReading> reading = ReadWorkFile(dir_, orb);
  if (!reading) {
    readings_.erase(stem);
    return std::nullopt;
  }
  readings_[stem] = *reading;
  if (reading->no_data.empty()) good_cycles_[stem] = reading->written;
  return reading;
}

ServedOrb WallReader::Describe(const OrbCondition& condition, double now) {
  const WallOrb& wall_orb = condition.orb;
  const ConfigRecord& record = wall_orb.record;
  ServedOrb orb;
  orb.number = wall_orb.number;
  orb.stem = wall_orb.stem();
  orb.name = ToDisplayUtf8(record.display_name());
  orb.mode = wall_orb.mode_word;
  PlaceOnGrid(record, orb);
  orb.face = FaceWord(record.face_mode());
  orb.process = std::string(ProcessStateName(condition.process));
  orb.runs = condition.process == ProcessState::kRunning;
  const std::optional<OrbReading> reading =
      orb.runs ? CurrentReading(wall_orb) : std::nullopt;
  const StateChoice state = ChooseState(condition, reading);
  orb.state_code = state.code;
  orb.state = kStateNames[static_cast<size_t>(state.code) - 1];
  orb.no_data = WithoutCredentials(state.no_data);
  orb.colour = HexColour(StateColour(state.code));
  orb.frame = HexColour(
      IdleColour(record.idle_colour_code().value_or(-1)).value_or(kGray));
  orb.waiting = WithoutCredentials(ToDisplayUtf8(condition.lock_wait));
  if (reading) {
    orb.items = reading->items;
    orb.cycle_age_seconds = std::max(0.0, now - reading->written);
  }
  const auto good = good_cycles_.find(orb.stem);
  if (orb.runs && good != good_cycles_.end()) {
    orb.good_cycle_age_seconds = std::max(0.0, now - good->second);
  }
  return orb;
}

}  // namespace vigil::cli
