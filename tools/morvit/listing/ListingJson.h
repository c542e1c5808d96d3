// The listing events as JSON lines, one object per event (docs/listing-events.md): what
// `morvit dump --format json` prints, streamed as the listing goes.
#ifndef MORVIT_TOOL_LISTINGJSON_H
#define MORVIT_TOOL_LISTINGJSON_H

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "morvit/VListingEvents.h"

namespace morvit::tool {

class ListingJson : public VListingSink {
 public:
  explicit ListingJson(std::ostream& out) : m_out(out) {}

  void File(std::string_view name, std::uint32_t part, std::uint64_t size) override;
  void Begin(const VListingBegin& begin) override;
  void Field(const VListingField& field) override;
  void End(VListingPlace kind) override;
  void Text(std::string_view text) override;
  void Stop(std::int64_t offset, std::string_view reason) override;
  void Value(const VListingValue& value) override;

 private:
  std::ostream& m_out;
  std::string m_line;
};

// A text as a JSON string of plain ASCII, quotes included. A valid UTF-8 sequence stands for its
// character (names of files and texts typed in UTF-8 read as typed); any other byte outside
// ASCII for the character of the same number (a byte of a single-byte text).
void AppendJsonString(std::string& out, std::string_view text);
// A text of the file's bytes as UTF-8, read as the JSON lines read it: a valid UTF-8 sequence is
// its character, any other byte above 0x7F the character of the same number.
std::string DecodedText(std::string_view text);
// The name of a field's kind in the events: "word", "integer", "longWord", "real", ...
std::string_view FieldKindName(VFieldKind kind);
// The name of a value's kind in the events: "text", "real", "number", "dateTime", ...
std::string_view ValueKindName(VValueKind kind);
// A value's members after its place: `,"kind":…,"label":…,"value":…` with the value typed (a
// JSON number, string or boolean), a code's or enumeration's `text`, a text's declared `length`
// and `time` for a time stamp.
void AppendValueMembers(std::string& out, const VListingValue& value);
// A value as a person reads it: a real with its decimals ("42.0"), a text quoted, a code with
// its name ("46 TypCode FB"), a number or date as it is.
std::string ValueText(const VListingValue& value);
// A real as the shortest decimal that reads back, with ".0" when it is whole.
std::string RealText(double real);
// The names of the places in the events: "header", "section", "element", "table", "row".
std::string_view PlaceName(VListingPlace kind);
// The value of a field as the events give it: a decimal number (a real as the shortest decimal
// that reads back).
std::string FieldValue(const VListingField& field);

// `morvit dump --format json`: the events of each file on standard output. Each file is tried;
// each one that yields no whole listing is reported, and any one fails the run. `locate` gives
// the copy of a file that is read (in a private view of its directory).
int DumpAsJson(const std::vector<std::filesystem::path>& files,
               const std::function<std::filesystem::path(const std::filesystem::path&)>& locate);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_LISTINGJSON_H
