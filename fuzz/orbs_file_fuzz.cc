// An orbs file: the header, an orb's lines by the key of the first line,
// every field of its record, and the lines a save would write.
#include "fuzz/fuzz_input.h"
#include "store/orbs_file.h"

namespace {

void ReadEveryField(const vigil::ConfigRecord& record) {
  record.number();
  record.display_name();
  record.face_mode();
  record.chart_type();
  vigil::ParseGridSizeText(record.grid_size_text());
  record.bar_limit();
  record.image_number();
  record.delay_time();
  record.gauge_number();
  record.idle_colour_code();
  record.row_image_index();
  record.chart_bars();
  record.kept_row();
  record.sorting();
  record.history_bars();
  record.LockName("AuxOrb");
  record.tail();
  record.LogTarget("HttpOrb");
  record.log_key();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vigil;
  const auto lines = fuzz::Lines(data, size);
  const std::string number = lines.empty() ? "0102" : Mid(lines[0], 1, 4);
  for (const char* mode : {"RfcOrb", "HttpOrb", "AuxOrb"}) {
    ScanHeader(lines, mode);
    OrbLines orb = ScanOrb(lines, mode, number);
    if (!orb.record) continue;
    ReadEveryField(*orb.record);
    OrbConfiguration config{*orb.record, orb.rules, orb.actions};
    RewriteOrbLines(lines, mode, config, MoveNote{number, "0203"});
  }
  return 0;
}
