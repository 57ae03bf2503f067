// What the readers of PRTG answers share: the test that an answer arrived
// whole, and the tag-text slicing of one line.
#ifndef VIGIL_PRTG_PRTG_ANSWER_H_
#define VIGIL_PRTG_PRTG_ANSWER_H_

#include <string>
#include <string_view>

namespace vigil {

// True when the text is an XML document that ends with the closing tag of
// its root element. An answer that breaks off or binary junk gives false,
// so that it is not read as a whole answer.
bool IsWholeAnswer(std::string_view text);

// The text after open up to close, looking only at the `limit` characters
// after open; empty when open is absent or close lies beyond them.
std::string TagText(std::string_view line, std::string_view open,
                    std::string_view close, int limit = 99);

}  // namespace vigil

#endif  // VIGIL_PRTG_PRTG_ANSWER_H_
