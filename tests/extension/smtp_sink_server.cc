#include "extension/smtp_sink_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace vigil {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(15);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr int kStartAttempts = 3;

sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool Accepts(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_in address = LoopbackAddress(port);
  bool connected =
      connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

int FreeLoopbackPort() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return 0;
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

SmtpSinkServer::~SmtpSinkServer() { Stop(); }

bool SmtpSinkServer::Start(const SmtpSinkOptions& options) {
  Stop();
  char pattern[] = "/tmp/vigil-smtp-sink-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    error_ = "cannot create the mail directory";
    return false;
  }
  directory_ = pattern;
  // Another test may take the free port between the probe and the bind;
  // a fresh port then does.
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (StartOnce(options)) return true;
  }
  Stop();
  return false;
}

bool SmtpSinkServer::StartOnce(const SmtpSinkOptions& options) {
  port_ = FreeLoopbackPort();
  if (port_ == 0) {
    error_ = "no free loopback port";
    return false;
  }
  std::string script =
      std::string(VIGIL_SOURCE_DIR) + "/tests/extension/smtp_sink.py";
  std::vector<std::string> arguments = {
      "/usr/bin/python3",    script,  "--port",
      std::to_string(port_), "--dir", directory_,
      "--lifetime",          "240"};
  if (!options.user.empty()) {
    arguments.insert(arguments.end(),
                     {"--user", options.user, "--password", options.password});
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  int spawned =
      posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) {
    error_ = "cannot start /usr/bin/python3";
    return false;
  }
  pid_ = pid;

  auto deadline = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (Accepts(port_)) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "the SMTP sink ended before it listened";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  error_ = "the SMTP sink did not listen in time";
  kill(-pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  return false;
}

void SmtpSinkServer::Stop() {
  if (pid_ > 0) {
    kill(-pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + kStopLimit;
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
      ended = waitpid(pid_, nullptr, WNOHANG) == pid_;
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }
  if (!directory_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
    directory_.clear();
  }
}

std::vector<ReceivedMail> SmtpSinkServer::Received() const {
  std::vector<std::filesystem::path> envelopes;
  std::error_code ignored;
  for (const auto& entry :
       std::filesystem::directory_iterator(directory_, ignored)) {
    if (entry.path().extension() == ".envelope") {
      envelopes.push_back(entry.path());
    }
  }
  std::sort(envelopes.begin(), envelopes.end());

  std::vector<ReceivedMail> mails;
  for (const std::filesystem::path& envelope : envelopes) {
    std::filesystem::path stem = envelope;
    stem.replace_extension();
    ReceivedMail mail;
    mail.raw = ReadFile(stem.string() + ".eml");
    mail.subject = ReadFile(stem.string() + ".subject");
    mail.body = ReadFile(stem.string() + ".body");
    for (const std::string& line :
         Lines(ReadFile(stem.string() + ".headers"))) {
      std::size_t colon = line.find(": ");
      if (colon == std::string::npos) continue;
      mail.headers.emplace(line.substr(0, colon), line.substr(colon + 2));
    }
    for (const std::string& line : Lines(ReadFile(envelope))) {
      std::size_t blank = line.find(' ');
      std::string key = line.substr(0, blank);
      std::string value =
          blank == std::string::npos ? "" : line.substr(blank + 1);
      if (key == "from") mail.sender = value;
      if (key == "rcpt") mail.recipients.push_back(value);
      if (key == "login") mail.login = value;
      if (key == "date") mail.date_epoch = std::atof(value.c_str());
    }
    mails.push_back(std::move(mail));
  }
  return mails;
}

void SmtpSinkServer::ClearReceived() const {
  std::error_code ignored;
  for (const auto& entry :
       std::filesystem::directory_iterator(directory_, ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
}

}  // namespace vigil
