// One good cycle's work in the core, without the sensor and the screen:
// read a 20-item result, evaluate the rules, sort, plan the face refresh
// and build the chart model. The orb's whole CPU per cycle is measured by
// bench/orb-bench; this tells how much of it the core takes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "face/chart_model.h"
#include "face/face_refresh.h"
#include "monitor/item_sorting.h"
#include "monitor/result_reader.h"
#include "monitor/rule_evaluation.h"
#include "store/event_log.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

std::string ItemsResult(int items) {
  std::string text = "<Prtg>\r\n<Text>Bench sensor</Text>\r\n";
  for (int i = 0; i < items; ++i) {
    text += "<Result><Channel>Item " + std::to_string(i) +
            "</Channel>\r\n<Value>" + std::to_string(i * 37 % 100) +
            "</Value>\r\n<Unit>Percent</Unit>\r\n</Result>\r\n";
  }
  return text + "</Prtg>\r\n";
}

// The bench orb's record: chart kind K, sorted by data, two rules that
// do not fire (a firing rule writes the shared log, which is not CPU).
std::string Record(char kind) {
  std::string record =
      "0000 Bench      00 1  1 .000   10017000.xxxxxxxx02.010.<Profile>  "
      "xx        0Global;sensor;;Bench";
  record[17] = kind;
  return record;
}

void BM_CoreCycle(benchmark::State& state) {
  const int items_count = static_cast<int>(state.range(0));
  const char kind = static_cast<char>('0' + state.range(1));
  const std::string result = ItemsResult(items_count);
  const std::filesystem::path log_file =
      std::filesystem::temp_directory_path() /
      ("vigil-bench-" + std::to_string(getpid()) + ".Log");
  EventLog log(log_file);
  ActionDispatch dispatch;
  const OrbConfiguration config{
      Record(kind), {"Item 3;>;1000;Warning;", "Item 5;>;2000;Set Alert;"}, {}};
  FaceSettings settings;
  settings.record = config.record;
  settings.has_rules = true;
  ItemTable items;
  OrbValues values;
  StringList work;
  SortState sort;
  FaceState face;
  ChartState chart_state;
  ChartContent chart = NewChartContent();
  const TextWidth width = [](FaceFont, int point_size, const std::string& s) {
    return static_cast<int>(s.size()) * point_size / 2;
  };
  for (auto _ : state) {
    ReadResultText(result, ResultReaderSettingsFor(config.record), items, work);
    values.colour_at_cycle_start = items.colour();
    const RuleOutcome rules = EvaluateRules(config, {false, "01.01.25"}, items,
                                            values, log, dispatch);
    ApplySortingSetting(items, '2', sort, kNumberFormatE);
    PlanFaceRefresh(items, values, settings, GaugeGeometry{}, width, face);
    ChartBuildInput input;
    input.chart_kind = kind - '0';
    input.record = config.record;
    input.title = "Bench";
    input.time_label = "12:00";
    BuildChart(items, input, chart, chart_state);
    benchmark::DoNotOptimize(rules);
    benchmark::DoNotOptimize(chart);
  }
  std::filesystem::remove(log_file);
}
// 20 items as the orb benchmark; the bar chart and the area chart.
BENCHMARK(BM_CoreCycle)
    ->Args({20, 0})
    ->Args({20, 4})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vigil
