// vigil serve in front of a real wall: headless Chromium draws the page
// and sees an orb turn red, and a real Prometheus scrapes the metrics.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "store/text.h"
#include "support/loopback_port.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::TempDir;
using testing::WaitUntil;

// The program's path on PATH; empty when it is not installed.
std::string PathOf(const std::string& program) {
  return Trim(testing::CommandOutput("command -v " + program));
}

std::string DecodeBase64(const std::string& text) {
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  int bits = 0;
  unsigned value = 0;
  for (const char c : text) {
    const size_t digit = kDigits.find(c);
    if (digit == std::string::npos) continue;
    value = (value << 6) | static_cast<unsigned>(digit);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((value >> bits) & 0xFF);
    }
  }
  return bytes;
}

std::string QueryEncoded(const std::string& text) {
  std::string encoded;
  for (const unsigned char c : text) {
    if (std::isalnum(c) || c == '_' || c == '-' || c == '.') {
      encoded += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      encoded += escape;
    }
  }
  return encoded;
}

// Headless Chromium driven over its DevTools pipe (fd 3 in, fd 4 out, one
// JSON message per NUL), with one page attached.
class HeadlessBrowser {
 public:
  explicit HeadlessBrowser(const std::filesystem::path& profile_dir) {
    int to_browser[2], from_browser[2];
    if (pipe(to_browser) != 0 || pipe(from_browser) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      setpgid(0, 0);
      dup2(to_browser[0], 3);
      dup2(from_browser[1], 4);
      for (int fd = 5; fd < 1024; ++fd) close(fd);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      const std::string profile = "--user-data-dir=" + profile_dir.string();
      execlp("chromium", "chromium", "--headless", "--no-sandbox",
             "--disable-gpu", "--remote-debugging-pipe", "--no-first-run",
             "--window-size=1280,800", profile.c_str(), "about:blank",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(to_browser[0]);
    close(from_browser[1]);
    in_ = to_browser[1];
    out_ = from_browser[0];
  }
  ~HeadlessBrowser() {
    if (pid_ > 0) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(in_);
    close(out_);
  }

  // Opens the page and attaches to it; false when the browser does not.
  bool Open(const std::string& url) {
    const auto target = Call("Target.createTarget", {{"url", url}});
    if (!target) return false;
    const auto attached =
        Call("Target.attachToTarget",
             {{"targetId", (*target)["targetId"]}, {"flatten", true}});
    if (!attached) return false;
    session_ = (*attached)["sessionId"];
    return true;
  }

  // The value of a script expression on the page; null when it failed.
  json Evaluate(const std::string& expression) {
    const auto result =
        Call("Runtime.evaluate",
             {{"expression", expression}, {"returnByValue", true}}, session_);
    if (!result || !result->contains("result")) return nullptr;
    return (*result)["result"].value("value", json());
  }

  bool Screenshot(const std::string& file) {
    const auto shot =
        Call("Page.captureScreenshot", {{"format", "png"}}, session_);
    if (!shot) return false;
    std::ofstream(file, std::ios::binary)
        << DecodeBase64((*shot)["data"].get<std::string>());
    return true;
  }

  bool PhoneSized() {
    return Call("Emulation.setDeviceMetricsOverride",
                {{"width", 390},
                 {"height", 844},
                 {"deviceScaleFactor", 1},
                 {"mobile", true}},
                session_)
        .has_value();
  }

 private:
  std::optional<json> Call(const std::string& method, const json& params,
                           const std::string& session = "") {
    json message = {{"id", ++last_id_}, {"method", method}, {"params", params}};
    if (!session.empty()) message["sessionId"] = session;
    const std::string text = message.dump() + '\0';
    if (write(in_, text.data(), text.size()) !=
        static_cast<ssize_t>(text.size())) {
      return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
      const auto answer = Next(deadline);
      if (!answer) return std::nullopt;
      if (answer->value("id", 0) != last_id_) continue;  // an event
      if (answer->contains("error")) return std::nullopt;
      return (*answer)["result"];
    }
    return std::nullopt;
  }

  std::optional<json> Next(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
      const size_t end = buffer_.find('\0');
      if (end != std::string::npos) {
        const std::string text = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return json::parse(text, nullptr, false);
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd ready{out_, POLLIN, 0};
      if (left.count() <= 0 ||
          poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
        return std::nullopt;
      }
      char chunk[65536];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int last_id_ = 0;
  std::string session_;
  std::string buffer_;
};

class ServeTest : public ::testing::Test {
 protected:
  // Two orbs on a sensor that reports the number in the file "level";
  // orb 0101 alerts above 5.
  void StartWall() {
    space_.InstallExtensionLibrary();
    space_.dir().Write("companion/level", "2\n");
    space_.dir().Write(
        "companion/sensor",
        "#!/bin/sh\necho '<Prtg>'\necho \"<Result><Channel>Level</Channel>"
        "<Value>$(cat \"$(dirname \"$0\")/level\")</Value></Result>\"\n"
        "echo '<Result><Channel>Spare</Channel><Value>40</Value></Result>'\n"
        "echo '</Prtg>'\n");
    std::filesystem::permissions(space_.dir() / "companion/sensor",
                                 std::filesystem::perms::owner_all);
    std::vector<std::string> lines = {"0204 AuxOrbs...   ."};
    for (const auto& [number, name, face, colour] :
         {std::tuple{"0101", "Level", '0', "03"},
          std::tuple{"0102", "Spare", '2', "12"}}) {
      RecordBuilder record;
      record.number = number;
      record.display_name = name;
      record.face_mode = face;
      record.idle_colour = colour;
      record.delay = "    1";
      record.lock_name = name;
      record.tail = "Global;sensor;;" + std::string(name);
      lines.push_back(record.Text());
    }
    lines.push_back("0101 # Level;>;5;Set Alert;");
    space_.WriteOrbsFile(lines);
    ASSERT_EQ(
        Vigil({"start", "--force", "--companion", space_.companion_dir()}), 0);
    ASSERT_TRUE(WaitUntil(
        [&] {
          return space_.dir().Exists("AuxOrb0101.Grn") &&
                 space_.dir().Exists("AuxOrb0102.Grn");
        },
        20s));
  }

  void Serve() {
    port_ = testing::UnusedLoopbackPort();
    serve_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{std::string(VIGIL_BIN_DIR) + "/vigil", "serve",
                                 "--dir", space_.dir().path().string(),
                                 "--listen",
                                 "127.0.0.1:" + std::to_string(port_)},
        ChildOptions{.dir = space_.dir().path(),
                     .stderr_file = space_.dir() / "serve.err"});
    ASSERT_TRUE(testing::WaitForListener(port_, 5s));
  }

  ~ServeTest() override {
    if (!space_.dir().Exists("AuxOrbs.Prf")) return;
    Vigil({"stop", "--wait", "5"});
  }

  int Vigil(std::vector<std::string> words) {
    words.insert(words.begin(), std::string(VIGIL_BIN_DIR) + "/vigil");
    words.insert(words.end(), {"--dir", space_.dir().path().string()});
    ChildProcess vigil(words,
                       ChildOptions{.dir = space_.dir().path(),
                                    .env = {"QT_QPA_PLATFORM=offscreen"},
                                    .capture_stdout = true,
                                    .stderr_file = space_.dir() / "vigil.err"});
    vigil.ReadAll(30s);
    return vigil.WaitFor(10s).value_or(-1);
  }

  OrbWorkspace space_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> serve_;
};

TEST_F(ServeTest, ThePageDrawsTheWallAndShowsAnAlertWithinTwoSeconds) {
  if (PathOf("chromium").empty()) {
    GTEST_SKIP() << "chromium is not installed (make deps installs it)";
  }
  StartWall();
  Serve();
  TempDir profile;
  HeadlessBrowser browser(profile.path());
  ASSERT_TRUE(browser.Open("http://127.0.0.1:" + std::to_string(port_) + "/"));
  const auto state_of = [&](const std::string& stem) {
    return browser.Evaluate("(document.getElementById('orb-" + stem +
                            "') || {dataset: {}}).dataset.state || ''");
  };
  ASSERT_TRUE(WaitUntil([&] { return state_of("AuxOrb0101") == "1"; }, 10s));
  EXPECT_EQ(browser.Evaluate("document.querySelectorAll('.orb').length"), 2);
  EXPECT_EQ(browser.Evaluate("getComputedStyle(document.getElementById("
                             "'orb-AuxOrb0102')).borderTopColor"),
            "rgb(0, 0, 255)");  // its idle colour 12, blue
  EXPECT_TRUE(WaitUntil(
      [&] {
        return browser.Evaluate(
                   "document.body.innerText.includes('Spare') && "
                   "document.body.innerText.includes('40')") == true;
      },
      5s));
  ASSERT_TRUE(browser.Screenshot(testing::ScreenshotFile("serve_wall.png")));

  space_.dir().Write("companion/level", "9\n");
  ASSERT_TRUE(
      WaitUntil([&] { return space_.dir().Exists("AuxOrb0101.Red"); }, 10s));
  const auto turned_red = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return state_of("AuxOrb0101") == "3"; }, 5s));
  EXPECT_LT(std::chrono::steady_clock::now() - turned_red, 2s);
  EXPECT_EQ(browser.Evaluate("getComputedStyle(document.getElementById("
                             "'orb-AuxOrb0101')).backgroundColor"),
            "rgb(255, 0, 0)");
  EXPECT_TRUE(
      browser.Screenshot(testing::ScreenshotFile("serve_wall_alert.png")));
  ASSERT_TRUE(browser.PhoneSized());
  // One orb under the other: the narrow layout.
  EXPECT_EQ(
      browser.Evaluate("document.getElementById('orb-AuxOrb0102').offsetTop > "
                       "document.getElementById('orb-AuxOrb0101').offsetTop"),
      true);
  EXPECT_TRUE(
      browser.Screenshot(testing::ScreenshotFile("serve_wall_phone.png")));
}

TEST_F(ServeTest, PrometheusScrapesTheOrbsStatesAndValues) {
  const std::string program = PathOf("prometheus");
  if (program.empty()) {
    GTEST_SKIP() << "prometheus is not installed (make deps installs it)";
  }
  StartWall();
  Serve();
  const int prometheus_port = testing::UnusedLoopbackPort();
  space_.dir().Write(
      "prometheus.yml",
      "global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
      "scrape_configs:\n  - job_name: vigil\n    static_configs:\n"
      "      - targets: ['127.0.0.1:" +
          std::to_string(port_) + "']\n");
  ChildProcess prometheus(
      {program, "--config.file=" + (space_.dir() / "prometheus.yml").string(),
       "--storage.tsdb.path=" + (space_.dir() / "tsdb").string(),
       "--web.listen-address=127.0.0.1:" + std::to_string(prometheus_port)},
      ChildOptions{.dir = space_.dir().path(),
                   .stderr_file = space_.dir() / "prometheus.err"});
  ASSERT_TRUE(testing::WaitForListener(prometheus_port, 20s));
  httplib::Client client("127.0.0.1", prometheus_port);
  client.set_url_encode(false);
  const auto query = [&](const std::string& promql) -> json {
    const auto answer =
        client.Get("/api/v1/query?query=" + QueryEncoded(promql));
    if (!answer || answer->status != 200) return nullptr;
    const json result =
        json::parse(answer->body, nullptr, false)["data"]["result"];
    if (!result.is_array() || result.size() != 1) return nullptr;
    return result[0]["value"][1];  // the sample's value, as text
  };
  json state, level;
  EXPECT_TRUE(WaitUntil(
      [&] {
        state = query("vigil_orb_state{orb=\"AuxOrb0101\",name=\"Level\"}");
        level = query(
            "vigil_orb_item_value{orb=\"AuxOrb0101\",item="
            "\"Level\",unit=\"#\"}");
        return state == "1" && level == "2";
      },
      20s))
      << state << " " << level << "\n"
      << space_.dir().Read("prometheus.err");
  EXPECT_EQ(query("vigil_orb_running{orb=\"AuxOrb0102\"}"), "1");
}

}  // namespace
}  // namespace vigil
