// Column accessors of an orb's fixed-column configuration record.
#ifndef VIGIL_STORE_CONFIG_RECORD_H_
#define VIGIL_STORE_CONFIG_RECORD_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil {

inline constexpr int kTailColumn = 78;

// The ";"-separated tail from column 78.
struct RecordTail {
  std::string source;
  std::string program;
  std::string address;
  std::string title;  // after the last ";", at most 99 characters
};

RecordTail SplitTail(std::string_view record);

// The source field "Global" means the orb has no source file.
bool IsGlobalSource(std::string_view record);

std::string RecordNumber(std::string_view record);     // columns 1-4
std::string RecordRow(std::string_view record);        // columns 1-2
std::string RecordColumn(std::string_view record);     // columns 3-4
std::string DisplayName(std::string_view record);      // 6-15, trimmed
char FaceMode(std::string_view record);                // 17
char RecordFlag(std::string_view record, int column);  // blank when short
std::string GridSizeText(std::string_view record);     // 19-23

// Chart type of column 18: blank counts as 0; nullopt outside 0-7.
std::optional<int> ChartType(std::string_view record);

// Grid size of columns 19-23 in cells; nullopt unless both are numbers >= 1.
struct GridSize {
  int rows = 1;
  int columns = 1;
};
std::optional<GridSize> ParseGridSizeText(std::string_view grid_size_text);
std::string FormatGridSizeText(GridSize size);

// Delay time in seconds, columns 29-33; nullopt unless a whole number >= 1.
std::optional<int> DelayTime(std::string_view record);

// Two-digit code of columns 35-36 (idle colour) or 38-39 (image index).
std::optional<int> TwoDigitField(std::string_view record, int column);

// Lock name of columns 56-65, or derived from the tail's source field when
// they read "<Profile>" or "RfcOrbs"; HttpOrb cuts it before the first ".".
std::string LockName(std::string_view record, std::string_view mode_word);

// The log target: the program field for RfcOrb, else "ID=" and the text
// after the first "id=" of the address field.
std::string LogTarget(std::string_view record, std::string_view mode_word);

// Replaces columns from..from+text.size()-1, padding a short record.
std::string WithColumns(std::string_view record, int from,
                        std::string_view text);

}  // namespace vigil

#endif  // VIGIL_STORE_CONFIG_RECORD_H_
