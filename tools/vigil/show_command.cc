// vigil show FILE [NUMBER] [--mode MODE]
#include <algorithm>
#include <filesystem>

#include "store/orbs_file.h"
#include "vigil/command_usage.h"
#include "vigil/commands.h"
#include "vigil/option_words.h"
#include "vigil/orb_description.h"
#include "vigil/orb_words.h"
#include "vigil/orbs_file_check.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

// The grid every orb of the file lies on, and the monitor that holds it.
std::string WallLine(const HeaderScan& scan) {
  if (!scan.error.empty()) return "wall: " + scan.error;
  const HeaderSettings& header = scan.settings;
  return "wall: " + std::to_string(header.rows) + " rows x " +
         std::to_string(header.columns) + " columns on " +
         DescribeGridMonitor(header.grid_monitor) +
         (header.header_line.empty() ? " (no header line: the default)" : "");
}

}  // namespace

int RunShow(const Words& words, std::ostream& out, std::ostream& err) {
  const Result<OptionWords> parsed = ParseOptionWords(words, {"mode"}, {});
  const OptionWords options = parsed.value_or({});
  const size_t given = options.positional.size();
  const bool number_ok = given < 2 || IsOrbNumber(options.positional[1]);
  if (!parsed || given < 1 || given > 2 || !number_ok) {
    err << "vigil show: "
        << (!parsed      ? parsed.error()
            : !number_ok ? "an orb number has four digits, row then column"
                         : "expected an orbs file and perhaps an orb number")
        << '\n'
        << UsageLineOf("show");
    return 2;
  }
  const std::filesystem::path path = options.positional.front();
  const auto input =
      LoadOrbsFile(path, options.Value("mode"), Absent::kRefused, err);
  if (!input) return 2;
  std::vector<std::string> numbers =
      RecordNumbers(input->lines, input->mode_word);
  if (given == 2) {
    const std::string& wanted = options.positional[1];
    if (std::find(numbers.begin(), numbers.end(), wanted) == numbers.end()) {
      err << "vigil show: " << path.string() << " has no record of orb "
          << wanted << '\n';
      return 1;
    }
    numbers = {wanted};
  }
  out << WallLine(ScanHeader(input->lines, input->mode_word)) << "\n\n";
  bool first = true;
  for (const std::string& number : numbers) {
    if (!first) out << '\n';
    first = false;
    const OrbLines orb = ScanOrb(input->lines, input->mode_word, number);
    for (const std::string& line : DescribeOrb(orb, input->mode_word)) {
      out << line << '\n';
    }
  }
  if (numbers.empty()) out << path.string() << ": no orbs\n";
  return 0;
}

}  // namespace vigil::cli
