// File bytes as a terminal can show them inside a message.
#ifndef VIGIL_TOOLS_VIGIL_SHOWN_TEXT_H_
#define VIGIL_TOOLS_VIGIL_SHOWN_TEXT_H_

#include <string>
#include <string_view>

namespace vigil::cli {

// UTF-8 when the bytes are, else read as Latin-1; control characters,
// quotes and backslashes escaped, so that junk in a file cannot garble
// the terminal or hide the end of the quoted text.
std::string Shown(std::string_view bytes);

// Shown(bytes) in double quotes.
std::string Quoted(std::string_view bytes);

// The first column (1-based) holding a control character, 0 when none.
int ControlCharacterColumn(std::string_view line);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SHOWN_TEXT_H_
