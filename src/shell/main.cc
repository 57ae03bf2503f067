// One process is one orb; the name it was started under is its mode word.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "shell/command_line.h"
#include "shell/orb_window.h"
#include "shell/platform_choice.h"
#include "shell/termination_request.h"
#include "shell/thread_ending.h"

namespace {

int termination_pipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  vigil::RequestTermination();
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = write(termination_pipe[1], &byte, 1);
}

// A launcher or a session logout ends orbs with SIGTERM, SIGINT or SIGHUP:
// close the window as the system would, so that the usual clean-up runs.
void CloseOnTerminationSignals(vigil::OrbWindow& window) {
  if (pipe2(termination_pipe, O_CLOEXEC) != 0) return;
  auto* notifier =
      new QSocketNotifier(termination_pipe[0], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window,
                   [&window] { window.close(); });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

// Registered before the toolkit registers its own exit work, so that it runs
// after that work has joined the toolkit's threads.
void LetJoinedThreadsEnd() {
  vigil::WaitUntilOnlyThread(std::chrono::seconds(1));
}

std::string ComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode_word = vigil::ModeWordFromProgramName(argv[0]);
  if (mode_word.empty()) {
    std::fprintf(stderr, "Start this program as RfcOrb, HttpOrb or AuxOrb.\n");
    return 2;
  }
  std::atexit(LetJoinedThreadsEnd);
  // Orbs keep their design pixel sizes on every screen.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  if (const auto platform = vigil::PlatformChoice(
          std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
          std::getenv("WAYLAND_DISPLAY"))) {
    qputenv("QT_QPA_PLATFORM", platform->c_str());
  }
  QApplication app(argc, argv);
  // The toolkit takes the user's locale; every number conversion uses ".".
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Vigil Panel");
  QApplication::setQuitOnLastWindowClosed(true);

  std::vector<std::string> args(argv + 1, argv + argc);
  std::error_code error;
  const std::filesystem::path working_dir =
      std::filesystem::current_path(error);
  vigil::OrbWindow window(mode_word, vigil::ParseCommandLine(args), working_dir,
                          ComputerName());
  CloseOnTerminationSignals(window);
  window.show();
  return QApplication::exec();
}
