#include "prtg-sim/value_walk.h"

#include <algorithm>
#include <cmath>

namespace vigil::sim {

ValueWalk::ValueWalk(uint64_t seed, bool enabled)
    : random_(seed), enabled_(enabled) {}

std::vector<double> ValueWalk::Start(const Sensor& sensor) {
  std::vector<double> values;
  for (const Channel& channel : sensor.channels)
    values.push_back(channel.value);
  return values;
}

double ValueWalk::SpanOf(const Channel& channel) {
  return channel.span ? *channel.span : std::fabs(channel.value) * 0.05;
}

void ValueWalk::Step(const Sensor& sensor, std::vector<double>& values) {
  if (values.size() != sensor.channels.size()) values = Start(sensor);
  if (!enabled_) return;
  for (size_t i = 0; i < sensor.channels.size(); ++i) {
    const Channel& channel = sensor.channels[i];
    const double span = SpanOf(channel);
    if (channel.kind != ValueKind::kNumber || span <= 0) continue;
    // Steps of up to a third of the span keep the walk visible but smooth.
    std::uniform_real_distribution<double> step(-span / 3, span / 3);
    double low = channel.value - span;
    const double high = channel.value + span;
    if (channel.value >= 0) low = std::max(low, 0.0);
    values[i] = std::clamp(values[i] + step(random_), low, high);
  }
}

}  // namespace vigil::sim
