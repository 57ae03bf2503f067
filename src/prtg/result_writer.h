// Writes the item table of an HttpOrb orb as a result text into its work
// file, so that the cycle, the mail action and the result reader see the
// same format as from a sensor program.
#ifndef VIGIL_PRTG_RESULT_WRITER_H_
#define VIGIL_PRTG_RESULT_WRITER_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/item_table.h"

namespace vigil {

// "<Prtg>", "", "<Text>HttpOrb" + number + "</Text>", four lines per row
// ("", the channel, the value and the unit line), "" and "</Prtg>". Item
// and Unit are written as they are.
std::vector<std::string> ResultLines(std::string_view orb_number,
                                     const std::vector<ItemRow>& rows,
                                     char number_format);

// The <Value> text of a Data field: the number the rules read from it with
// the number format, written plainly with "." as the decimal point, so that
// the result reader reads the same number back (0.5 stays 0.5). A Data
// field that is no number is written trimmed, without its "." characters.
std::string ResultValueText(std::string_view data, char number_format);

// Replaces the work file whole (through a rename); false when it could not
// be written, and then no work file is left.
bool WriteResult(const std::filesystem::path& work_file,
                 std::string_view orb_number, const std::vector<ItemRow>& rows,
                 char number_format);

}  // namespace vigil

#endif  // VIGIL_PRTG_RESULT_WRITER_H_
