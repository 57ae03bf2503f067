#include "actions/command_words.h"

#include "store/text.h"

namespace vigil {
namespace {

// Where the shell is while it reads the operator's text.
enum class Context { kPlain, kSingle, kDouble, kCommand, kBacktick };

struct Frame {
  Context context;
  int parentheses = 0;  // open "(" inside $(...)
};

// Tracks the quoting context of the operator's text, character by character.
class QuotingTracker {
 public:
  QuotingTracker() : frames_{{Context::kPlain}} {}

  void Read(char c) {
    const char previous = previous_;
    previous_ = c;
    if (escaped_) {
      escaped_ = false;
      previous_ = 0;
      return;
    }
    const Context context = frames_.back().context;
    if (context == Context::kSingle) {
      if (c == '\'') frames_.pop_back();
      return;
    }
    const bool opens_command = c == '(' && previous == '$';
    if (c == '\\') {
      escaped_ = true;
    } else if (c == '"') {
      if (context == Context::kDouble) {
        frames_.pop_back();
      } else {
        frames_.push_back({Context::kDouble});
      }
    } else if (context == Context::kDouble) {
      if (c == '`') frames_.push_back({Context::kBacktick});
      if (opens_command) frames_.push_back({Context::kCommand});
    } else if (c == '\'') {
      frames_.push_back({Context::kSingle});
    } else if (c == '`') {
      if (context == Context::kBacktick) {
        frames_.pop_back();
      } else {
        frames_.push_back({Context::kBacktick});
      }
    } else if (opens_command) {
      frames_.push_back({Context::kCommand});
    } else if (context == Context::kCommand && c == '(') {
      ++frames_.back().parentheses;
    } else if (context == Context::kCommand && c == ')') {
      if (frames_.back().parentheses == 0) {
        frames_.pop_back();
      } else {
        --frames_.back().parentheses;
      }
    }
  }

  // The value quoted so that the shell reads it back unchanged here.
  std::string Quote(std::string value) {
    if (value.empty()) return {};
    std::string quoted;
    if (escaped_) {
      // The operator's backslash takes the value's first character.
      quoted += value.front();
      value.erase(0, 1);
      escaped_ = false;
    }
    previous_ = 0;
    if (value.empty()) return quoted;
    const Context context = frames_.back().context;
    std::string inner;
    if (context == Context::kSingle) {
      for (const char c : value)
        inner += c == '\'' ? "'\\''" : std::string(1, c);
    } else if (context == Context::kDouble) {
      for (const char c : value) {
        if (c == '$' || c == '`' || c == '"' || c == '\\') inner += '\\';
        inner += c;
      }
    } else {
      inner = ShellQuote(value);
    }
    // Inside `...` the shell first removes one backslash before $, ` and \.
    for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame) {
      if (frame->context != Context::kBacktick) continue;
      std::string escaped;
      for (const char c : inner) {
        if (c == '$' || c == '`' || c == '\\') escaped += '\\';
        escaped += c;
      }
      inner = escaped;
    }
    return quoted + inner;
  }

 private:
  std::vector<Frame> frames_;
  bool escaped_ = false;
  char previous_ = 0;
};

}  // namespace

std::string ShellCommandLine(const std::vector<TextPiece>& pieces) {
  QuotingTracker tracker;
  std::string line;
  for (const TextPiece& piece : pieces) {
    if (piece.substituted) {
      line += tracker.Quote(piece.text);
      continue;
    }
    for (const char c : piece.text) tracker.Read(c);
    line += piece.text;
  }
  return line;
}

std::vector<std::string> CommandWords(const std::vector<TextPiece>& pieces) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  bool quoted = false;
  for (const TextPiece& piece : pieces) {
    if (piece.substituted) {
      word += piece.text;
      in_word = in_word || !piece.text.empty();
      continue;
    }
    for (const char c : piece.text) {
      if (c == '"') {
        quoted = !quoted;
        in_word = true;
      } else if (!quoted && (c == ' ' || c == '\t')) {
        if (in_word) words.push_back(word);
        word.clear();
        in_word = false;
      } else {
        word += c;
        in_word = true;
      }
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

}  // namespace vigil
