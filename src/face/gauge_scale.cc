#include "face/gauge_scale.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vigil {
namespace {

// Rounds up to the next multiple of step when the integer part is not one.
double RoundUpTo(double gauge_max, double step) {
  const double remainder = std::fmod(std::trunc(gauge_max), step);
  return remainder == 0 ? gauge_max : gauge_max + (step - remainder);
}

std::string IntegerPartText(double number) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::trunc(number));
  return buffer;
}

}  // namespace

double ScaleMaximum(double gauge_max, double value) {
  if (gauge_max < value) gauge_max = value;
  if (gauge_max < 1) gauge_max = 1;
  // The tests run in order, each on what the one before left.
  if (gauge_max > 1 && gauge_max < 10) {
    gauge_max += 10 - std::trunc(gauge_max);
  }
  if (gauge_max > 10 && gauge_max < 100) gauge_max = RoundUpTo(gauge_max, 10);
  if (gauge_max > 100 && gauge_max < 1000) {
    gauge_max = RoundUpTo(gauge_max, 100);
  }
  if (gauge_max > 1000) gauge_max = RoundUpTo(gauge_max, 1000);
  return gauge_max;
}

std::string NumberText(double number) {
  char buffer[64];
  const auto [end, error] = std::to_chars(
      buffer, buffer + sizeof buffer, number, std::chars_format::general, 15);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

std::array<std::string, 6> ScaleMarkTexts(double gauge_max) {
  if (gauge_max == 1) return {"1.0", "0.8", "0.6", "0.4", "0.2", "0"};
  // Whole percentages keep 2000 x 60 % at 1200 instead of 1199.999...
  std::array<std::string, 6> texts;
  constexpr std::array<int, 5> kPercents = {100, 80, 60, 40, 20};
  for (size_t i = 0; i < kPercents.size(); ++i) {
    texts[i] = IntegerPartText(gauge_max * kPercents[i] / 100.0);
  }
  texts[5].assign(1, '0');  // GCC 12 warns wrongly (-Wrestrict) on = "0"
  return texts;
}

double GaugePercent(double value, double gauge_max) {
  return gauge_max == 0 ? value : 100 * value / gauge_max;
}

std::string PointerPart(double percent) {
  if (percent >= 96) return "99";
  for (int part = 90; part >= 10; part -= 10) {
    if (percent >= part - 4) return std::to_string(part);
  }
  return "00";
}

bool IsLightDial(char units_digit) {
  return units_digit == '0' || units_digit == '2' || units_digit == '4' ||
         units_digit == '6' || units_digit == '8';
}

std::string_view PointerStyle(Rgb orb_colour, char units_digit) {
  if (orb_colour == kSilver) return "PtGry";
  return IsLightDial(units_digit) ? "PtBlk" : "Point";
}

}  // namespace vigil
