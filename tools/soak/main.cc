// vigil-soak: runs real AuxOrb orbs on the demo's sensor with a one-second
// delay and reports how their resident memory grows per 1,000 cycles.
//
//   vigil-soak [--seconds N] [--face F] [--kind K] [--mode bar|history]
//              [--all] [--exercise] [--build DIR] [--orb PATH] [--trace FILE]
//
// --all runs every chart kind in both modes and the listing, gauge and
// image faces side by side, each in a cell of its own. --exercise works
// every orb as a person would while they run: every few seconds a zoom and
// its return, the context menu opened and closed, and the settings dialog
// opened from it and cancelled (xdotool on the orb's cell). It needs a display:
// `make soak` gives it a private X server. An orb's memory settles over its
// first hundred or so cycles (the history fills, caches warm up), so the growth
// is the least-squares slope of the resident size over the second half of the
// cycles. --trace writes every sample (face, kind, mode, cycle, KiB).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vigil::soak {
namespace {

namespace fs = std::filesystem;

struct Options {
  int seconds = 120;
  char face = '0';
  char kind = '4';
  bool history = true;
  bool all = false;
  bool exercise = false;
  fs::path build = VIGIL_BUILD_DIR;
  fs::path orb;  // empty: the build's AuxOrb
  fs::path trace;
};

// The soak's grid: 6 columns of 320 and 8 rows of 135 pixels on a
// 1920 x 1080 screen, one cell per orb.
constexpr int kGridColumns = 6;
constexpr int kCellWidth = 320;
constexpr int kCellHeight = 135;

struct Orb {
  Orb(char face_mode, char chart_kind, bool history_mode)
      : face(face_mode), kind(chart_kind), history(history_mode) {}
  std::string Number() const {
    return TwoDigits(cell / kGridColumns) + TwoDigits(cell % kGridColumns);
  }
  static std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
  }
  int cell = 0;
  char face;
  char kind;
  bool history;
  fs::path dir;
  pid_t pid = -1;
  bool ended = false;
  std::vector<std::pair<double, double>> samples;  // cycle, RSS in KiB
  long first_rss = 0;
  long cycles = 0;
};

// The demo's first record with the soak's face, chart and a 1 s delay;
// the history charts keep items 1 to 4 over 20 bars.
std::string Record(const Orb& orb) {
  std::string record =
      "0000 Soak       00 1  1 .000   10017000.xxxxxxxx00.010.<Profile>  "
      ".x        0Local.Prf;soak-sensor;;Soak";
  record.replace(0, 4, orb.Number());
  record[16] = orb.face;
  record[17] = orb.kind;
  record[24] = orb.history ? 'x' : '.';
  record.replace(28, 5, "    1");
  if (orb.history) {
    record.replace(40, 8, "01020304");
    record.replace(51, 3, "020");
  }
  return record;
}

bool LayOut(Orb& orb, const fs::path& build) {
  char pattern[] = "/tmp/vigil-soak-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return false;
  orb.dir = pattern;
  std::ofstream orbs(orb.dir / "AuxOrbs.Prf", std::ios::binary);
  orbs << "0806 AuxOrbs...   .\r\n" << Record(orb) << "\r\n";
  // The sensor counts the cycles before it measures.
  std::ofstream sensor(orb.dir / "soak-sensor");
  sensor << "#!/bin/sh\necho >> cycles.txt\nexec \"$(dirname \"$0\")"
            "/vigil-sensor\" \"$@\"\n";
  sensor.close();
  fs::permissions(orb.dir / "soak-sensor", fs::perms::owner_all);
  std::error_code error;
  const auto copy = fs::copy_options::recursive;
  fs::copy(build / "lib/AuxOrbs.so", orb.dir, error);
  if (!error) fs::copy(build / "bin/vigil-sensor", orb.dir, error);
  if (!error) fs::copy(VIGIL_SOURCE_DIR "/demo/Local.Prf", orb.dir, error);
  if (!error && fs::exists(build / "assets")) {
    fs::copy(build / "assets", orb.dir, copy, error);
  }
  if (error) std::fprintf(stderr, "vigil-soak: %s\n", error.message().c_str());
  return orbs.good() && !error;
}

bool Start(Orb& orb, const fs::path& program) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, orb.dir.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, "orb.out",
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  // The mode word is the name the orb is started under.
  std::string name = "AuxOrb";
  std::string dir = orb.dir.string();
  std::string number = orb.Number();
  char* argv[] = {name.data(), dir.data(), number.data(), nullptr};
  const int failed =
      posix_spawn(&orb.pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0;
}

std::optional<long> ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return std::nullopt;
}

long Cycles(const Orb& orb) {
  std::ifstream counter(orb.dir / "cycles.txt");
  long lines = 0;
  for (std::string line; std::getline(counter, line);) ++lines;
  return lines;
}

void Sample(Orb& orb) {
  if (orb.ended) return;
  if (waitpid(orb.pid, nullptr, WNOHANG) == orb.pid) {
    orb.ended = true;
    std::fprintf(stderr, "vigil-soak: the orb in %s ended early\n",
                 orb.dir.c_str());
    return;
  }
  const long cycles = Cycles(orb);
  const auto rss = ResidentKiB(orb.pid);
  if (!rss || cycles == 0) return;
  if (orb.samples.empty()) orb.first_rss = *rss;
  orb.samples.emplace_back(cycles, *rss);
  orb.cycles = cycles;
}

// KiB per 1,000 cycles, fitted over the second half of the samples.
double GrowthPerThousand(const Orb& orb) {
  const size_t from = orb.samples.size() / 2;
  const double n = static_cast<double>(orb.samples.size() - from);
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t i = from; i < orb.samples.size(); ++i) {
    const auto [x, y] = orb.samples[i];
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  const double spread = n * sxx - sx * sx;
  return spread > 0 ? (n * sxy - sx * sy) / spread * 1000 : 0;
}

bool X(const std::string& arguments) {
  return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) ==
         0;
}

// A zoom and its return, the menu opened and closed, and the settings
// dialog opened from the menu and cancelled. The soak's orbs have no rules,
// so their menu ends Alter Settings, Suspend, Hide, Stop.
void Exercise(const Orb& orb) {
  if (orb.ended) return;
  const int x = (orb.cell % kGridColumns) * kCellWidth + 60;
  const int y = (orb.cell / kGridColumns) * kCellHeight + 50;
  const std::string at = std::to_string(x) + " " + std::to_string(y);
  const auto pause = [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  };
  X("mousemove " + at + " click --repeat 2 --delay 80 1");
  pause();
  X("mousemove " + at + " click 1");
  pause();
  X("mousemove " + at + " click 3");
  pause();
  X("key Escape");
  pause();
  X("mousemove " + at + " click 3");
  pause();
  X("key Up Up Up Up Return");
  pause();
  X("key Escape");
  pause();
}

void Stop(Orb& orb) {
  if (orb.ended) return;
  kill(orb.pid, SIGTERM);
  for (int i = 0; i < 50; ++i) {
    if (waitpid(orb.pid, nullptr, WNOHANG) == orb.pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  kill(orb.pid, SIGKILL);
  waitpid(orb.pid, nullptr, 0);
}

const char* FaceName(char face) {
  switch (face) {
    case '2':
      return "listing";
    case '3':
      return "gauge";
    case '4':
      return "image";
    default:
      return "chart";
  }
}

void Report(const std::vector<Orb>& orbs) {
  std::printf("%-8s %4s %-8s %7s %10s %10s %14s\n", "face", "kind", "mode",
              "cycles", "start KiB", "end KiB", "KiB/1k cycles");
  for (const Orb& orb : orbs) {
    const bool chart = orb.face == '0';
    std::printf("%-8s %4s %-8s %7ld %10ld %10.0f %14.1f\n", FaceName(orb.face),
                chart ? std::string(1, orb.kind).c_str() : "-",
                chart ? (orb.history ? "history" : "bar") : "-", orb.cycles,
                orb.first_rss,
                orb.samples.empty() ? 0.0 : orb.samples.back().second,
                GrowthPerThousand(orb));
  }
}

void WriteTrace(const std::vector<Orb>& orbs, const fs::path& file) {
  std::ofstream trace(file);
  for (const Orb& orb : orbs) {
    for (const auto& [cycle, kib] : orb.samples) {
      trace << FaceName(orb.face) << ' ' << orb.kind << ' '
            << (orb.history ? "history" : "bar") << ' ' << cycle << ' ' << kib
            << '\n';
    }
  }
}

std::optional<Options> Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (word == "--all" || word == "--exercise") {
      (word == "--all" ? options.all : options.exercise) = true;
      continue;
    }
    if (value == nullptr) return std::nullopt;
    ++i;
    if (word == "--seconds") {
      options.seconds = std::atoi(value);
    } else if (word == "--face") {
      options.face = value[0];
    } else if (word == "--kind") {
      options.kind = value[0];
    } else if (word == "--mode") {
      options.history = std::string(value) == "history";
    } else if (word == "--build") {
      options.build = value;
    } else if (word == "--trace") {
      options.trace = value;
    } else if (word == "--orb") {
      options.orb = value;
    } else {
      return std::nullopt;
    }
  }
  if (options.orb.empty()) options.orb = options.build / "bin/AuxOrb";
  return options;
}

std::vector<Orb> Chosen(const Options& options) {
  if (!options.all) return {Orb(options.face, options.kind, options.history)};
  std::vector<Orb> orbs;
  for (bool history : {false, true}) {
    for (char kind = '0'; kind <= '7'; ++kind) {
      orbs.emplace_back('0', kind, history);
    }
  }
  for (char face : {'2', '3', '4'}) orbs.emplace_back(face, '0', false);
  for (size_t i = 0; i < orbs.size(); ++i) orbs[i].cell = static_cast<int>(i);
  return orbs;
}

int Run(int argc, char** argv) {
  const auto options = Parse(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: vigil-soak [--seconds N] [--face F] [--kind K] "
                 "[--mode bar|history] [--all] [--exercise] "
                 "[--build DIR] [--orb PATH] [--trace FILE]\n");
    return 2;
  }
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "vigil-soak: needs a display (make soak has one)\n");
    return 2;
  }
  std::vector<Orb> orbs = Chosen(*options);
  for (Orb& orb : orbs) {
    if (!LayOut(orb, options->build) || !Start(orb, options->orb)) {
      std::fprintf(stderr, "vigil-soak: cannot start %s in %s\n",
                   options->orb.c_str(), orb.dir.c_str());
      return 1;
    }
  }
  const auto end =
      std::chrono::steady_clock::now() + std::chrono::seconds(options->seconds);
  int tick = 0;
  while (std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    for (Orb& orb : orbs) Sample(orb);
    // Once the first samples are in, every orb in turn, one per tick.
    if (options->exercise && ++tick > 10) Exercise(orbs[tick % orbs.size()]);
  }
  for (Orb& orb : orbs) {
    // An orb that ended early keeps its directory and orb.out for a look.
    if (orb.ended) continue;
    Stop(orb);
    std::error_code ignored;
    fs::remove_all(orb.dir, ignored);
  }
  Report(orbs);
  if (!options->trace.empty()) WriteTrace(orbs, options->trace);
  return 0;
}

}  // namespace
}  // namespace vigil::soak

int main(int argc, char** argv) { return vigil::soak::Run(argc, argv); }
