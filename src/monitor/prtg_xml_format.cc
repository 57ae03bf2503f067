#include "monitor/prtg_xml_format.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "monitor/companion_result_format.h"
#include "store/text.h"

namespace vigil {
namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the five it leaves open keep their
// C1 code points, as browsers read them.
constexpr std::array<int, 32> kWindows1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
    0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
constexpr std::string_view kWindows1252 = "windows-1252";

int XMLCALL MapWindows1252(void*, const XML_Char* name, XML_Encoding* info) {
  if (!EqualsInAnyCase(kWindows1252, name) &&
      !EqualsInAnyCase("cp1252", name)) {
    return XML_STATUS_ERROR;
  }
  for (int byte = 0; byte < 256; ++byte) {
    info->map[byte] =
        byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
  }
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

// Where an element stands: the root, a child of the root, or an element
// of a result.
enum class Depth { kOutside = 0, kRoot = 1, kTop = 2, kResultElement = 3 };
// The children of the root that are read.
enum class Top { kOther, kResult, kText, kError };

Top TopNamed(std::string_view name) {
  if (EqualsInAnyCase("result", name)) return Top::kResult;
  if (EqualsInAnyCase("text", name)) return Top::kText;
  if (EqualsInAnyCase("error", name)) return Top::kError;
  return Top::kOther;
}

class Collector {
 public:
  explicit Collector(XML_Parser parser) : parser_(parser) {}

  void Start(std::string_view name) {
    ++depth_;
    if (depth_ == int(Depth::kRoot)) {
      root_is_prtg_ = EqualsInAnyCase("prtg", name);
      if (!root_is_prtg_) XML_StopParser(parser_, XML_FALSE);
    } else if (depth_ == int(Depth::kTop)) {
      top_ = TopNamed(name);
      if (top_ == Top::kResult) AddChannel(result_);
    } else if (depth_ == int(Depth::kResultElement) && top_ == Top::kResult) {
      element_ = ChannelElementNamed(name);
    }
    characters_.clear();
  }

  void End() {
    if (depth_ == int(Depth::kResultElement) && top_ == Top::kResult) {
      if (element_) {
        result_.channels.back().elements.emplace_back(*element_,
                                                      std::move(characters_));
      }
      element_.reset();
    } else if (depth_ == int(Depth::kTop)) {
      if (top_ == Top::kText) result_.text = characters_;
      if (top_ == Top::kError) result_.error = IsSetFlag(characters_);
      top_ = Top::kOther;
    } else if (depth_ == int(Depth::kRoot)) {
      // Whatever a script prints after its document is not ours to judge.
      root_closed_ = true;
      XML_StopParser(parser_, XML_FALSE);
    }
    characters_.clear();
    --depth_;
  }

  // Only what a read element holds: not the layout between elements.
  void Characters(std::string_view text) {
    const bool wanted = depth_ == int(Depth::kResultElement)
                            ? element_.has_value()
                            : depth_ == int(Depth::kTop) &&
                                  (top_ == Top::kText || top_ == Top::kError);
    if (wanted) characters_ += text;
  }

  StandardResult Finish(XML_Status status) {
    result_.complete = root_closed_ && root_is_prtg_;
    if (!result_.complete) result_.parse_problem = Problem(status);
    return std::move(result_);
  }

 private:
  std::string Problem(XML_Status status) const {
    if (depth_ >= int(Depth::kRoot) || root_closed_) {
      if (!root_is_prtg_) return "the outermost element is not <prtg>";
    }
    if (status == XML_STATUS_ERROR) {
      return "XML error at line " +
             std::to_string(XML_GetCurrentLineNumber(parser_)) + ": " +
             XML_ErrorString(XML_GetErrorCode(parser_));
    }
    return root_is_prtg_ ? "the <prtg> element is not closed"
                         : "no <prtg> element";
  }

  XML_Parser parser_;
  StandardResult result_;
  int depth_ = 0;
  Top top_ = Top::kOther;
  std::optional<ChannelElement> element_;
  std::string characters_;
  bool root_is_prtg_ = false;
  bool root_closed_ = false;
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char**) {
  static_cast<Collector*>(data)->Start(name);
}
void XMLCALL OnEnd(void* data, const XML_Char*) {
  static_cast<Collector*>(data)->End();
}
void XMLCALL OnCharacters(void* data, const XML_Char* text, int length) {
  static_cast<Collector*>(data)->Characters(
      std::string_view(text, static_cast<size_t>(length)));
}

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

StandardResult Parse(std::string_view text, const char* encoding,
                     XML_Error* error) {
  std::unique_ptr<XML_ParserStruct, ParserFree> owned(
      XML_ParserCreate(encoding));
  XML_Parser parser = owned.get();
  Collector collector(parser);
  XML_SetUserData(parser, &collector);
  XML_SetElementHandler(parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser, OnCharacters);
  XML_SetUnknownEncodingHandler(parser, MapWindows1252, nullptr);
  const XML_Status status =
      XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE);
  *error = XML_GetErrorCode(parser);
  return collector.Finish(status);
}

bool IsEncodingError(XML_Error error) {
  return error == XML_ERROR_INVALID_TOKEN ||
         error == XML_ERROR_INCORRECT_ENCODING ||
         error == XML_ERROR_UNKNOWN_ENCODING;
}

// Where needle (in lower case) begins in text, in any case.
size_t FindInAnyCase(std::string_view text, std::string_view needle) {
  const auto at = std::search(
      text.begin(), text.end(), needle.begin(), needle.end(),
      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
  return at == text.end() ? std::string_view::npos
                          : static_cast<size_t>(at - text.begin());
}

// A script may print a line or two before its document.
std::string_view FromDocumentStart(std::string_view text) {
  const size_t start =
      std::min(FindInAnyCase(text, "<?xml"), FindInAnyCase(text, "<prtg"));
  return start == std::string_view::npos ? text : text.substr(start);
}

class PrtgXml final : public StandardFormat {
 public:
  PrtgXml() : StandardFormat(ParsePrtgXml) {}
  std::string_view name() const override { return "PRTG XML"; }
  // A text that opens as the companion's does and that no XML parser reads
  // whole stays with the companion's reader, which takes it as it always
  // did.
  bool Recognises(const std::vector<std::string>& lines) const override {
    const bool has_root =
        std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
          return FindInAnyCase(line, "<prtg") != std::string_view::npos;
        });
    return has_root && (!OpensAsCompanion(lines) || Parsed(lines).complete);
  }
};

}  // namespace

StandardResult ParsePrtgXml(std::string_view text) {
  text = FromDocumentStart(text);
  XML_Error error = XML_ERROR_NONE;
  const StandardResult declared = Parse(text, nullptr, &error);
  if (declared.complete || !IsEncodingError(error)) return declared;
  // Scripts that build their text as .NET strings declare "utf-16" and
  // print UTF-8; others print their Windows code page and declare nothing.
  for (const char* encoding : {"UTF-8", kWindows1252.data()}) {
    StandardResult again = Parse(text, encoding, &error);
    if (again.complete) return again;
  }
  return declared;
}

const ResultFormat& PrtgXmlFormat() {
  static const PrtgXml format;
  return format;
}

}  // namespace vigil
