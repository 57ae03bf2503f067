// Slicing and small text routines. Columns are 1-based as in the file
// formats; a field beyond the end of a line is empty, never an error.
#ifndef VIGIL_STORE_TEXT_H_
#define VIGIL_STORE_TEXT_H_

#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil {

// Characters from..from+count-1 (1-based) that exist.
std::string Mid(std::string_view text, int from, int count = INT_MAX);

// 1-based position of needle in text, 0 when absent.
int Pos(std::string_view needle, std::string_view text);

// Text before the first separator: empty when the separator is absent.
std::string BeforeFirst(std::string_view text, char separator);
// Text after the first separator: the whole text when it is absent.
std::string AfterFirst(std::string_view text, char separator);

std::string Trim(std::string_view text);
// The same without a copy: a view into text.
std::string_view TrimmedView(std::string_view text);
std::string TrimRight(std::string_view text);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
// True when text is lower (given in lower case) in any case, ASCII only.
bool EqualsInAnyCase(std::string_view lower, std::string_view text);
bool IsBlank(std::string_view text);
bool IsDigits(std::string_view text);

// A whole number with surrounding blanks ignored; empty or anything else
// than digits (after an optional sign) is a conversion failure.
std::optional<int> ParseInteger(std::string_view text);

// At least two digits: 7 gives "07", 123 gives "123".
std::string TwoDigits(int number);

// Right-aligned in width characters, padded with pad; the last digits when
// the number is too wide, 0 for a negative one. Fixed-width columns.
std::string RightAligned(int number, size_t width, char pad = ' ');

// Recases all-upper or all-lower names: "CPU LOAD" gives "Cpu Load".
std::string CapitalizeName(std::string_view name);

// Drops the first "&" of a menu caption.
std::string CleanCaption(std::string_view caption);

// Lines of a text read with LF or CR LF endings.
std::vector<std::string> SplitLines(std::string_view text);

// Bytes as UTF-8 for display: kept when valid UTF-8, else read as Latin-1.
std::string ToDisplayUtf8(std::string_view bytes);

// Text quoted for /bin/sh: taken literally, whatever it holds.
std::string ShellQuote(std::string_view text);

// Passwords in profiles and action settings are stored with every byte
// XORed with 0x5A; the same operation reads them back.
std::string Unscramble(std::string_view text);

}  // namespace vigil

#endif  // VIGIL_STORE_TEXT_H_
