#include "prtg/prtg_answer.h"

#include "store/text.h"

namespace vigil {
namespace {

bool IsXmlBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EndsNameOfTag(char c) { return IsXmlBlank(c) || c == '/' || c == '>'; }

}  // namespace

bool IsWholeAnswer(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t at = 0;
  // Skip the declaration, comments and a document type before the root.
  for (;;) {
    while (at < text.size() && IsXmlBlank(text[at])) ++at;
    if (at + 1 >= text.size() || text[at] != '<') return false;
    const char kind = text[at + 1];
    if (kind != '?' && kind != '!') break;
    const size_t end = text.find('>', at);
    if (end == std::string_view::npos) return false;
    at = end + 1;
  }
  size_t name_end = at + 1;
  while (name_end < text.size() && !EndsNameOfTag(text[name_end])) ++name_end;
  const std::string_view root = text.substr(at + 1, name_end - at - 1);
  if (root.empty()) return false;
  size_t last = text.size();
  while (last > 0 && IsXmlBlank(text[last - 1])) --last;
  const std::string closing = "</" + std::string(root) + ">";
  return last >= at + closing.size() &&
         text.substr(last - closing.size(), closing.size()) == closing;
}

std::string TagText(std::string_view line, std::string_view open,
                    std::string_view close, int limit) {
  const int open_at = Pos(open, line);
  if (open_at == 0) return {};
  const std::string after = Mid(line, open_at + int(open.size()), limit);
  const int close_at = Pos(close, after);
  if (close_at == 0) return {};
  return Mid(after, 1, close_at - 1);
}

}  // namespace vigil
