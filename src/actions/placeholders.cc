#include "actions/placeholders.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vigil {
namespace {

constexpr int kSignificantDigits = 15;

std::string StripFraction(std::string digits) {
  if (digits.find('.') == std::string::npos) return digits;
  while (digits.back() == '0') digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
  return digits;
}

// Replaces text[at, at + length) of the pieces by one substituted piece.
std::vector<TextPiece> Splice(const std::vector<TextPiece>& pieces, size_t at,
                              size_t length, const std::string& value) {
  std::vector<TextPiece> result;
  auto add = [&result](std::string text, bool substituted) {
    if (text.empty()) return;
    if (!result.empty() && result.back().substituted == substituted) {
      result.back().text += text;
    } else {
      result.push_back({std::move(text), substituted});
    }
  };
  const size_t end = at + length;
  size_t offset = 0;
  bool inserted = false;
  for (const TextPiece& piece : pieces) {
    const size_t piece_end = offset + piece.text.size();
    if (piece_end <= at || offset >= end) {
      if (offset >= end && !inserted) {
        add(value, true);
        inserted = true;
      }
      add(piece.text, piece.substituted);
    } else {
      if (offset < at)
        add(piece.text.substr(0, at - offset), piece.substituted);
      if (!inserted) {
        add(value, true);
        inserted = true;
      }
      if (piece_end > end) {
        add(piece.text.substr(end - offset), piece.substituted);
      }
    }
    offset = piece_end;
  }
  if (!inserted) add(value, true);
  return result;
}

}  // namespace

std::string StateWord(int state_code) {
  static constexpr std::array<const char*, 8> kWords = {
      "Green/OK", "Yellow/Warning", "Red/Alert", "Red/Failed",
      "Starting", "Stopped",        "Suspended", "Resumed"};
  if (state_code < 1 || state_code > 8) return "Unknown";
  return kWords[static_cast<size_t>(state_code - 1)];
}

std::string FormatTriggerValue(double value) {
  if (value == 0) return "0";
  if (!std::isfinite(value))
    return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  // The exponent after rounding to 15 significant digits decides the form.
  char scientific[40];
  std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1,
                value);
  const std::string text = scientific;
  const size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  if (exponent >= kSignificantDigits || exponent < -5) {
    return StripFraction(text.substr(0, e)) + "E" + std::to_string(exponent);
  }
  char fixed[64];
  std::snprintf(fixed, sizeof fixed, "%.*f",
                std::max(0, kSignificantDigits - 1 - exponent), value);
  return StripFraction(fixed);
}

std::vector<TextPiece> SubstitutePieces(std::string_view text,
                                        const PlaceholderValues& values) {
  const std::array<std::pair<std::string_view, std::string>, 6> kReplacements =
      {{{"%Sensor", values.display_name},
        {"%Value", FormatTriggerValue(values.trigger_value)},
        {"%Unit", values.unit},
        {"%Channel", values.item},
        {"%State", StateWord(values.state_code)},
        {"%Result", values.mail_body_file}}};
  std::vector<TextPiece> pieces;
  if (!text.empty()) pieces.push_back({std::string(text), false});
  for (const auto& [placeholder, value] : kReplacements) {
    const size_t at = JoinPieces(pieces).find(placeholder);
    if (at == std::string::npos) continue;
    pieces = Splice(pieces, at, placeholder.size(), value);
  }
  return pieces;
}

std::string JoinPieces(const std::vector<TextPiece>& pieces) {
  std::string text;
  for (const TextPiece& piece : pieces) text += piece.text;
  return text;
}

std::string Substitute(std::string_view text, const PlaceholderValues& values) {
  return JoinPieces(SubstitutePieces(text, values));
}

}  // namespace vigil
