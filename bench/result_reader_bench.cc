// The result reader on results of realistic shape, and on the joined and
// cut-off records of broken sensor outputs (whose time must stay linear).
#include <benchmark/benchmark.h>

#include <string>

#include "monitor/result_format.h"
#include "monitor/result_reader.h"
#include "store/processing_states.h"
#include "store/text.h"

namespace vigil {
namespace {

// A result as the companion writes it: processing lines, a text line, and
// records with the units, states and value forms that occur in practice.
std::string RealisticResult(int records) {
  std::string text = "<Prtg>\r\n";
  for (int i = 0; i < 5; ++i) {
    text += "* STEP" + std::to_string(i) + "    Profile step State=Done\r\n";
  }
  text +=
      "<Text>(bnc) Benchmark profile finished (SAP Quillon) (V3)</Text>\r\n";
  for (int i = 0; i < records; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 5) {
      case 0:
        text += "<Result><Channel>RFC-OPEN TIME " + n + "</Channel>\r\n";
        text += "<Value>0" + n + "</Value>\r\n";
        text += "<Unit>TimeResponse</Unit>\r\n";
        break;
      case 1:
        text += "<Result><Channel>free memory " + n + "</Channel>\r\n";
        text += "<Value>" + n + "234567</Value>\r\n";
        text += "<Unit>Custom</Unit>\r\n<CustomUnit>KB</CustomUnit>\r\n";
        break;
      case 2:
        text += "<Result><Channel>2: * Job " + n + "</Channel>\r\n";
        text += "<Value>1</Value>\r\n";
        break;
      case 3:
        text += "<Result><Channel>Cpu Load " + n + "</Channel>\r\n";
        text += "<Value>0,25</Value>\r\n<Unit>PerCent</Unit>\r\n";
        break;
      default:
        text += "<Result><Channel>Queue " + n + "</Channel>\r\n";
        text += "<Value>2</Value>\r\n<CustomUnit>State</CustomUnit>\r\n";
        break;
    }
    text += "</Result>\r\n";
  }
  return text + "</Prtg>\r\n";
}

// Records that never close: the reader joins them all into one.
std::string JoinedRecords(int records) {
  std::string text = "<Prtg>\n";
  for (int i = 0; i < records; ++i) {
    text += "<Result><Channel>Item " + std::to_string(i) +
            "</Channel>\n<Value>12 (a) (b)</Value>\n";
  }
  return text + "</Result>\n</Prtg>\n";
}

// A channel of a standard result as scripts write them: a unit on each,
// a float or a custom unit on some, limits on every fifth.
struct Channel {
  std::string name;
  std::string value;
  std::string unit;
  bool is_float = false;
  std::string custom_unit;
  bool limits = false;
};

Channel RealisticChannel(int i) {
  const std::string n = std::to_string(i + 1);
  Channel channel{"Disk & Volume " + n, n + "234567", "BytesDisk"};
  if (i % 3 == 1) {
    channel.unit = "Percent";
    channel.value = n + ".5";
    channel.is_float = true;
  }
  if (i % 3 == 2) {
    channel.unit = "Custom";
    channel.custom_unit = "rpm";
  }
  channel.limits = i % 5 == 0;
  return channel;
}

// PRTG's standard XML as scripts print it: lower case and indented.
std::string StandardXml(int channels) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<prtg>\n";
  for (int i = 0; i < channels; ++i) {
    const Channel c = RealisticChannel(i);
    text += "  <result>\n    <channel>Disk &amp; Volume " +
            std::to_string(i + 1) + "</channel>\n    <value>" + c.value +
            "</value>\n    <unit>" + c.unit + "</unit>\n";
    if (c.is_float) text += "    <float>1</float>\n";
    if (!c.custom_unit.empty()) {
      text += "    <customunit>" + c.custom_unit + "</customunit>\n";
    }
    if (c.limits) {
      text +=
          "    <limitmode>1</limitmode>\n"
          "    <limitmaxerror>90</limitmaxerror>\n";
    }
    text += "  </result>\n";
  }
  return text + "  <text>benchmark</text>\n</prtg>\n";
}

// The same in PRTG's JSON form, one channel a line.
std::string StandardJson(int channels) {
  std::string text = "{\"prtg\": {\"result\": [\n";
  for (int i = 0; i < channels; ++i) {
    const Channel c = RealisticChannel(i);
    if (i > 0) text += ",\n";
    text += "{\"channel\": \"" + c.name + "\", \"value\": " + c.value +
            ", \"unit\": \"" + c.unit + "\"";
    if (c.is_float) text += ", \"float\": 1";
    if (!c.custom_unit.empty()) {
      text += ", \"customunit\": \"" + c.custom_unit + "\"";
    }
    if (c.limits) text += ", \"limitmode\": 1, \"limitmaxerror\": 90";
    text += "}";
  }
  return text + "], \"text\": \"benchmark\"}}\n";
}

const ResultReaderSettings kSettings{7, "03xxxxxx"};

// What a cycle does with a fresh result: choose the format, check, read.
// Two texts in turn, so that every round parses its text.
void ReadAsTheCycleDoes(benchmark::State& state, const std::string& text) {
  const std::vector<std::string> texts[] = {SplitLines(text),
                                            SplitLines(text + " ")};
  ItemTable items;
  StringList work;
  size_t round = 0;
  for (auto _ : state) {
    const std::vector<std::string>& lines = texts[round++ % 2];
    const ResultFormat& format = ResultFormatFor(lines);
    ResultCheck check = format.Check(lines);
    ResultReading reading = format.Read(lines, kSettings, items, work);
    benchmark::DoNotOptimize(check);
    benchmark::DoNotOptimize(reading);
  }
  if (items.size() < static_cast<size_t>(state.range(0))) {
    state.SkipWithError("fewer rows than channels");
  }
}

void BM_CycleReadsCompanion(benchmark::State& state) {
  ReadAsTheCycleDoes(state, RealisticResult(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CycleReadsCompanion)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_CycleReadsPrtgXml(benchmark::State& state) {
  ReadAsTheCycleDoes(state, StandardXml(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CycleReadsPrtgXml)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_CycleReadsPrtgJson(benchmark::State& state) {
  ReadAsTheCycleDoes(state, StandardJson(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CycleReadsPrtgJson)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ResultReader(benchmark::State& state) {
  const std::string text = RealisticResult(static_cast<int>(state.range(0)));
  ItemTable items;
  StringList work;
  for (auto _ : state) {
    ResultReading reading = ReadResultText(text, kSettings, items, work);
    benchmark::DoNotOptimize(reading);
    benchmark::DoNotOptimize(items.rows().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ResultReader)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Lines as the cycle holds them, processing table first as in a cycle.
void BM_ResultReaderCycleLines(benchmark::State& state) {
  const std::vector<std::string> lines =
      SplitLines(RealisticResult(static_cast<int>(state.range(0))));
  ItemTable items;
  StringList work;
  for (auto _ : state) {
    ProcessingTable processing = ReadProcessingStates(lines);
    ResultReading reading = ReadResult(lines, kSettings, items, work);
    benchmark::DoNotOptimize(processing);
    benchmark::DoNotOptimize(reading);
  }
}
BENCHMARK(BM_ResultReaderCycleLines)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ResultReaderJoined(benchmark::State& state) {
  const std::string text = JoinedRecords(static_cast<int>(state.range(0)));
  ItemTable items;
  StringList work;
  for (auto _ : state) {
    ResultReading reading = ReadResultText(text, kSettings, items, work);
    benchmark::DoNotOptimize(reading);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ResultReaderJoined)
    ->RangeMultiplier(4)
    ->Range(1000, 64000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

}  // namespace
}  // namespace vigil

BENCHMARK_MAIN();
