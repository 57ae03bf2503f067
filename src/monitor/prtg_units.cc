#include "monitor/prtg_units.h"

#include <array>
#include <cmath>

#include "store/text.h"

namespace vigil {
namespace {

// How a unit word's values are sized for the display.
enum class Family { kPlain, kBytes, kSpeed, kCustom };

struct UnitWord {
  std::string_view word;   // lower case
  std::string_view shown;  // for kPlain
  Family family;
};
constexpr std::array<UnitWord, 14> kUnitWords = {{
    {"percent", "%", Family::kPlain},
    {"cpu", "%", Family::kPlain},
    {"timeresponse", "mSec", Family::kPlain},
    {"timeseconds", "s", Family::kPlain},
    {"timehours", "h", Family::kPlain},
    {"count", "#", Family::kPlain},
    {"temperature",
     "\xC2\xB0"
     "C",
     Family::kPlain},
    {"bytesmemory", "", Family::kBytes},
    {"bytesdisk", "", Family::kBytes},
    {"bytesfile", "", Family::kBytes},
    {"bytesbandwidth", "", Family::kSpeed},
    {"speednet", "", Family::kSpeed},
    {"speeddisk", "", Family::kSpeed},
    {"custom", "", Family::kCustom},
}};

struct SizeWord {
  std::string_view word;  // lower case
  std::string_view prefix;
  double factor;
  bool bits = false;
};
constexpr double kKi = 1024;
constexpr std::array<SizeWord, 15> kSizeWords = {{
    {"one", "", 1},
    {"kilo", "k", 1e3},
    {"mega", "M", 1e6},
    {"giga", "G", 1e9},
    {"tera", "T", 1e12},
    {"byte", "", 1},
    {"kilobyte", "K", kKi},
    {"megabyte", "M", kKi* kKi},
    {"gigabyte", "G", kKi* kKi* kKi},
    {"terabyte", "T", kKi* kKi* kKi* kKi},
    {"bit", "", 1.0 / 8, true},
    {"kilobit", "k", 1e3 / 8, true},
    {"megabit", "M", 1e6 / 8, true},
    {"gigabit", "G", 1e9 / 8, true},
    {"terabit", "T", 1e12 / 8, true},
}};
// Bytes without a size: the largest of these that the value reaches.
constexpr std::array<SizeWord, 5> kAutoByteSizes = {{
    {"", "", 1},
    {"", "K", kKi},
    {"", "M", kKi* kKi},
    {"", "G", kKi* kKi* kKi},
    {"", "T", kKi* kKi* kKi* kKi},
}};

struct SpeedTime {
  std::string_view word;
  std::string_view suffix;
  double seconds;
};
constexpr std::array<SpeedTime, 4> kSpeedTimes = {{
    {"second", "/s", 1},
    {"minute", "/min", 60},
    {"hour", "/h", 3600},
    {"day", "/d", 86400},
}};

template <typename Table>
auto Find(const Table& table, std::string_view word) -> decltype(&table[0]) {
  for (const auto& entry : table) {
    if (EqualsInAnyCase(entry.word, word)) return &entry;
  }
  return nullptr;
}

const SizeWord& AutoByteSize(double value) {
  const double size = std::fabs(value);
  const SizeWord* chosen = &kAutoByteSizes[0];
  for (const SizeWord& candidate : kAutoByteSizes) {
    if (size >= candidate.factor) chosen = &candidate;
  }
  return *chosen;
}

ShownUnit SizedUnit(const SizeWord* size, std::string_view unit) {
  if (size == nullptr) return {std::string(unit), 1};
  return {std::string(size->prefix) + std::string(unit), size->factor};
}

ShownUnit ByteUnit(const SizeWord* size, double value) {
  if (size == nullptr) size = &AutoByteSize(value);
  return {std::string(size->prefix) + (size->bits ? "bit" : "B"), size->factor};
}

}  // namespace

ShownUnit ShownUnitFor(const StandardChannel& channel,
                       std::optional<double> value) {
  const std::string_view word = channel.Get(ChannelElement::kUnit);
  const UnitWord* unit = Find(kUnitWords, word.empty() ? "custom" : word);
  const SizeWord* volume =
      Find(kSizeWords, channel.Get(ChannelElement::kVolumeSize));
  if (unit == nullptr) return SizedUnit(volume, word);
  switch (unit->family) {
    case Family::kPlain:
      return SizedUnit(volume, unit->shown);
    case Family::kBytes:
      return ByteUnit(volume, value.value_or(0));
    case Family::kSpeed: {
      const SpeedTime* time =
          Find(kSpeedTimes, channel.Get(ChannelElement::kSpeedTime));
      if (time == nullptr) time = &kSpeedTimes[0];
      ShownUnit shown =
          ByteUnit(Find(kSizeWords, channel.Get(ChannelElement::kSpeedSize)),
                   value.value_or(0) * time->seconds);
      shown.unit += time->suffix;
      shown.divisor /= time->seconds;
      return shown;
    }
    case Family::kCustom: {
      const std::string_view custom = channel.Get(ChannelElement::kCustomUnit);
      return SizedUnit(volume, custom.empty() ? "#" : custom);
    }
  }
  return {std::string(word), 1};
}

}  // namespace vigil
