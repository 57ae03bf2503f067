// The orbs file shared by all orbs of a mode: a header line with the screen
// grid, and for every orb a configuration record with satellite lines.
#ifndef VIGIL_STORE_ORBS_FILE_H_
#define VIGIL_STORE_ORBS_FILE_H_

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/config_record.h"
#include "store/grid_monitor.h"

namespace vigil {

// Satellite markers in column 6. The trace marker is "§": one byte in
// Latin-1 files, two in UTF-8 files; both are read.
inline constexpr char kRuleMarker = '#';
inline constexpr char kStateMailMarker = '$';
inline constexpr char kValueMailMarker = '%';
inline constexpr char kStateExecMarker = '!';
inline constexpr char kValueExecMarker = '&';
inline constexpr char kTraceMarker = '\xA7';
inline constexpr char kCaptionsMarker = '@';
inline constexpr char kItemNamesMarker = '*';
inline constexpr std::string_view kTraceMarkerUtf8 = "\xC2\xA7";

// Every line begins with its key; a satellite line has its marker in
// column 6 and its content from column 8 (9 after a UTF-8 "§").
inline constexpr ColumnSpan kLineKey{1, 4};
inline constexpr int kMarkerColumn = 6;

// The header line's fields.
namespace header_layout {
inline constexpr ColumnSpan kRows{1, 2};
inline constexpr ColumnSpan kColumns{3, 2};
inline constexpr ColumnSpan kForm{6, 10};  // mode word + "s", "."-padded
inline constexpr ColumnSpan kFrameWidth{16, 2};
inline constexpr ColumnSpan kLogMode{19, 1};         // "." main events only
inline constexpr ColumnSpan kOwnRulesOnly{20, 1};    // "O"
inline constexpr ColumnSpan kUnattended{21, 1};      // "U"
inline constexpr ColumnSpan kNotifyDesktop{22, 1};   // "N"
inline constexpr ColumnSpan kHideWhileGreen{23, 1};  // "X"
inline constexpr ColumnSpan kLabelSizeOffset{25, 2};
inline constexpr ColumnSpan kCaptionSizeOffset{28, 2};
inline constexpr ColumnSpan kGridMonitor{31, 20};  // see grid_monitor.h
}  // namespace header_layout

inline constexpr int kDefaultGridRows = 8;
inline constexpr int kDefaultGridColumns = 6;

struct HeaderSettings {
  std::string header_line;  // empty when the file has none
  int rows = 8;
  int columns = 6;
  int frame_width = 0;            // FrameWidth, columns 16-17
  bool log_every_event = false;   // column 19 not "."
  bool hide_while_green = false;  // column 23 "X"
  // Column 21 "U": a wall nobody watches. HttpOrb request failures show
  // no message box, and an orb without data retries by itself.
  bool unattended = false;
  // Column 22 "N": tell the desktop's notification service when an orb
  // turns red or loses its data.
  bool notify_desktop = false;
  // Column 20 "O": only the orbs' own rules colour them; the limits and
  // warning flags that standard sensors declare are not taken.
  bool own_rules_only = false;
  int label_size_offset = 0;    // LabelSizeOffset, columns 25-26
  int caption_size_offset = 0;  // CaptionSizeOffset, columns 28-29
  GridMonitor grid_monitor;     // columns 31-50
};

struct HeaderScan {
  HeaderSettings settings;
  std::string error;  // a message for the error panel; empty when sound
};

struct ActionSettings {
  std::string state_mail;  // "$"
  std::string value_mail;  // "%"
  std::string state_exec;  // "!"
  std::string value_exec;  // "&"
  std::string trace;       // "§"

  // Their lines in the orbs file, each also when it is empty.
  std::vector<std::string> SaveLines(std::string_view number,
                                     std::string_view trace_marker) const;
  friend bool operator==(const ActionSettings&,
                         const ActionSettings&) = default;
};

// One "#" line per rule, in rule order.
std::vector<std::string> RuleSaveLines(std::string_view number,
                                       const std::vector<std::string>& rules);

// What an orb rewrites of its own lines: the settings flow and the face
// commands edit it, the save writes it.
struct OrbConfiguration {
  ConfigRecord record;
  std::vector<std::string> rules;
  ActionSettings actions;
};

// Everything of one orb that the orbs file holds.
struct OrbLines {
  std::optional<ConfigRecord> record;
  std::vector<std::string> rules;
  ActionSettings actions;
  std::array<std::string, 4> captions;  // probe, group, device, sensor
  std::vector<std::string> item_choices;
};

// Old and new orb numbers of a move to another grid cell.
struct MoveNote {
  std::string old_number;
  std::string new_number;
};

bool IsHeaderLine(std::string_view line, std::string_view mode_word);
// "AuxOrbs...": the mode word and "s", padded with "." to ten characters.
std::string HeaderForm(std::string_view mode_word);
// The header a file without one is read as: 8 rows, 6 columns, no frame,
// the main events only.
std::string DefaultHeaderLine(std::string_view mode_word);

// A satellite line as the scans read it; marker 0 when the line is none.
struct Satellite {
  char marker = 0;
  std::string content;
  int content_column = 8;
};
Satellite ReadSatellite(std::string_view line);

// Neither a satellite line nor the mode word followed by "... ": with the
// orb's number as its key, such a line is the orb's record.
bool IsRecordLine(std::string_view line, std::string_view mode_word);

// The last header line counts; rows and columns must be numbers >= 1.
HeaderScan ScanHeader(const std::vector<std::string>& lines,
                      std::string_view mode_word);

// The orb's record (the last one counts), rules, action settings, captions
// and the item choices after the four fixed ones.
OrbLines ScanOrb(const std::vector<std::string>& lines,
                 std::string_view mode_word, std::string_view orb_number);

struct CellSize {
  int width = 0;
  int height = 0;
};
CellSize CellSizeFor(const HeaderSettings& header, int screen_width,
                     int screen_height);

// Whether any line of the file has this key, the header line and the
// orb's own lines included.
bool KeyInUse(const std::vector<std::string>& file_lines,
              std::string_view number);

// The file's lines with the saved orb's lines moved to the end, rewritten
// from memory under the record's number; every other line keeps its text
// and relative order. A move note names the number the lines had.
std::vector<std::string> RewriteOrbLines(
    const std::vector<std::string>& file_lines, std::string_view mode_word,
    const OrbConfiguration& orb, const std::optional<MoveNote>& move_note);

enum class SaveOutcome {
  kSaved,
  kMissing,      // the file is gone: nothing written
  kUnreadable,   // nothing written
  kUnwritable,   // the file is as it was
  kTargetTaken,  // a move whose new number some line already has
  kPlaceTaken    // a move or new size with a cell off the grid or covered
};

// Reads the file anew and writes it back with RewriteOrbLines, under an
// advisory lock and through a rename, so that sibling orbs' saves are kept
// and a crash leaves the old file or the new one, whole. With a move note
// the test that its new number is free is made under the same lock, so
// that of two orbs moving to one cell only one gets it.
SaveOutcome SaveOrbsFile(const std::filesystem::path& file,
                         std::string_view mode_word,
                         const OrbConfiguration& orb,
                         const std::optional<MoveNote>& move_note);

// A new orb's lines, written as the save writes them, under the same lock
// and through the same rename. kTargetTaken when a line already has the
// record's number, tested under the lock. A file without the mode's header
// line gets DefaultHeaderLine first; a missing file is created.
struct AddOutcome {
  SaveOutcome outcome = SaveOutcome::kSaved;
  bool header_written = false;
};
AddOutcome AddToOrbsFile(const std::filesystem::path& file,
                         std::string_view mode_word,
                         const OrbConfiguration& orb);

// Takes every line of the orb out (its record and satellite lines; a
// header whose grid reads like the number stays), under the same lock and
// through the same rename; the other lines keep their bytes and order.
// kMissing when the file is gone or holds no line of the orb.
SaveOutcome RemoveFromOrbsFile(const std::filesystem::path& file,
                               std::string_view mode_word,
                               std::string_view number);

// The source file's lines without comment lines ("# Dudi: " lines stay).
std::vector<std::string> AttachedProfileLines(
    const std::vector<std::string>& source_lines);

// Copies the source file (none for the source "Global": an empty
// profile) without its comment lines into the attached profile, as start-up
// and every sensor cycle do.
enum class ProfileCopy { kWritten, kSourceUnreadable, kNotWritten };
ProfileCopy CopyToAttachedProfile(
    const std::optional<std::filesystem::path>& source,
    const std::filesystem::path& attached_profile);

}  // namespace vigil

#endif  // VIGIL_STORE_ORBS_FILE_H_
