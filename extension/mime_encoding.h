// Encodings that keep a mail 7-bit clean: RFC 2047 words for headers,
// quoted-printable for bodies, and the UTF-8 / Latin-1 reading of bytes.
#ifndef VIGIL_EXTENSION_MIME_ENCODING_H_
#define VIGIL_EXTENSION_MIME_ENCODING_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vigil {

bool IsValidUtf8(std::string_view bytes);

// Bytes as UTF-8: kept when valid UTF-8, else each byte read as Latin-1.
std::string BytesToUtf8(std::string_view bytes);

std::string EncodeBase64(std::string_view bytes);

// UTF-8 text as "=?UTF-8?B?...?=" words of at most 75 characters, joined by
// CR LF and a blank (a folded header). Words never split a character.
std::string EncodeHeaderWords(std::string_view utf8);

// One body line as quoted-printable: output lines of at most 76 characters
// joined by soft breaks ("=" CR LF), without a final line ending.
std::string EncodeQuotedPrintableLine(std::string_view line);

}  // namespace vigil

#endif  // VIGIL_EXTENSION_MIME_ENCODING_H_
