#include "prtg/result_writer.h"

#include <charconv>
#include <cmath>

#include "store/file_remover.h"
#include "store/text.h"
#include "store/text_file.h"
#include "store/value_parser.h"

namespace vigil {

std::string ResultValueText(std::string_view data, char number_format) {
  const std::optional<double> value = ParseValue(data, number_format);
  if (!value) {
    std::string text = Trim(data);
    std::erase(text, '.');
    return text;
  }
  // Fixed notation: the reader takes no exponent, and no "-0".
  const double number = *value == 0 ? 0.0 : *value;
  char text[400];
  const auto [end, error] = std::to_chars(text, text + sizeof(text), number,
                                          std::chars_format::fixed);
  if (error != std::errc()) return "0";
  return std::string(text, end);
}

std::vector<std::string> ResultLines(std::string_view orb_number,
                                     const std::vector<ItemRow>& rows,
                                     char number_format) {
  std::vector<std::string> lines = {
      "<Prtg>", "", "<Text>HttpOrb" + std::string(orb_number) + "</Text>"};
  for (const ItemRow& row : rows) {
    lines.emplace_back();
    lines.push_back("<Result><Channel>" + row.item + "</Channel>");
    lines.push_back("<Value>" + ResultValueText(row.data, number_format) +
                    "</Value>");
    lines.push_back("<CustomUnit>" + row.unit + "</CustomUnit></Result>");
  }
  lines.emplace_back();
  lines.emplace_back("</Prtg>");
  return lines;
}

bool WriteResult(const std::filesystem::path& work_file,
                 std::string_view orb_number, const std::vector<ItemRow>& rows,
                 char number_format) {
  if (WriteLinesAtomically(work_file,
                           ResultLines(orb_number, rows, number_format))) {
    return true;
  }
  // What is left there is a raw server answer, not a result text.
  RemoveFile(work_file);
  return false;
}

}  // namespace vigil
