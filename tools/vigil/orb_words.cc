#include "vigil/orb_words.h"

#include <array>

#include "settings/settings_form.h"
#include "store/orbs_file.h"
#include "store/text.h"

namespace vigil::cli {
namespace {

constexpr std::array<std::string_view, 5> kFaceWords = {
    "chart", "unsorted", "listing", "gauge", "image"};
constexpr std::array<std::string_view, kChartKindTable.size()> kChartWords =
    [] {
      std::array<std::string_view, kChartKindTable.size()> words{};
      for (size_t i = 0; i < words.size(); ++i) {
        words[i] = kChartKindTable[i].word;
      }
      return words;
    }();
constexpr std::array<std::string_view, 7> kSortingWords = {
    "none",      "items-asc",  "items-dsc", "value-asc",
    "value-dsc", "colour-asc", "colour-dsc"};

// The index of a word among the words or the dialog's names (any case), or
// a digit below the count.
template <size_t kCount>
std::optional<int> IndexOf(std::string_view word,
                           const std::array<std::string_view, kCount>& words,
                           const std::array<const char*, kCount>* names) {
  const std::string wanted = ToLower(Trim(word));
  for (size_t i = 0; i < kCount; ++i) {
    if (wanted == words[i] || (names && wanted == ToLower(Trim((*names)[i])))) {
      return static_cast<int>(i);
    }
  }
  if (wanted.size() == 1 && wanted[0] >= '0' &&
      wanted[0] < static_cast<char>('0' + kCount)) {
    return wanted[0] - '0';
  }
  return std::nullopt;
}

template <size_t kCount>
std::string WordAt(int index,
                   const std::array<std::string_view, kCount>& words) {
  if (index < 0 || index >= static_cast<int>(kCount)) return "unknown";
  return std::string(words[static_cast<size_t>(index)]);
}

}  // namespace

bool IsOrbNumber(std::string_view word) {
  return word.size() == static_cast<size_t>(kLineKey.count) && IsDigits(word);
}

std::string FaceWord(char face_mode) {
  return WordAt(face_mode - '0', kFaceWords);
}

std::optional<char> FaceFromWord(std::string_view word) {
  const auto index = IndexOf<5>(word, kFaceWords, nullptr);
  if (!index) return std::nullopt;
  return static_cast<char>('0' + *index);
}

std::string ChartWord(int chart_type) {
  return WordAt(chart_type, kChartWords);
}

std::optional<int> ChartFromWord(std::string_view word) {
  return IndexOf<kChartKindTable.size()>(word, kChartWords, &kChartKindChoices);
}

std::string SortingWord(char sorting) {
  return WordAt(sorting - '0', kSortingWords);
}

std::optional<char> SortingFromWord(std::string_view word) {
  const auto index = IndexOf<7>(word, kSortingWords, &kSortingChoices);
  if (!index) return std::nullopt;
  return static_cast<char>('0' + *index);
}

std::optional<bool> SwitchFromWord(std::string_view word) {
  const std::string lower = ToLower(Trim(word));
  if (lower == "on" || lower == "yes" || lower == "true" || lower == "1") {
    return true;
  }
  if (lower == "off" || lower == "no" || lower == "false" || lower == "0") {
    return false;
  }
  return std::nullopt;
}

std::string SatelliteWord(char marker) {
  switch (marker) {
    case kRuleMarker:
      return "rule";
    case kStateMailMarker:
      return "state-mail settings";
    case kValueMailMarker:
      return "value-mail settings";
    case kStateExecMarker:
      return "state-exec settings";
    case kValueExecMarker:
      return "value-exec settings";
    case kTraceMarker:
      return "trace settings";
    case kCaptionsMarker:
      return "captions";
    case kItemNamesMarker:
      return "item names";
    default:
      return "satellite";
  }
}

}  // namespace vigil::cli
