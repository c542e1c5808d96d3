// The listing of a domain file as a stream of events: every value listed is a field (where it
// stands in the file, its bytes, its value, its label, its listing text) inside structure events
// (header, section, element, table, row). The text listing is one rendering of the stream; a
// client renders its own (JSON lines, a comparison, a page) from the same events.
#ifndef MORVIT_VLISTINGEVENTS_H
#define MORVIT_VLISTINGEVENTS_H

#include <cstdint>
#include <string_view>

#include "morvit/platform.h"

namespace morvit {

// Where fields belong. A header is the fixed front of a file (common, compress, structure
// header, or the labelled header words of the generic listing); a section a code-tagged
// sequence of elements; an element one code-tagged block; a table and its rows the host-side
// data and move tables.
enum class VListingPlace : std::uint8_t { header, section, element, table, row };

// How a field's value was read.
enum class VFieldKind : std::uint8_t {
  word,         // unsigned 16-bit
  integer,      // signed 16-bit
  longWord,     // unsigned 32-bit
  longInteger,  // signed 32-bit
  real,         // the controller's 32-bit real
  number,       // a table column in the host's byte order (unsigned)
};

struct VListingBegin {
  VListingPlace kind;
  std::string_view name;      // the section's, header's or table's name; empty for rows
  std::int32_t code = -1;     // element and section code, -1 when there is none
  std::string_view codeName;  // the code's name in the listing
  std::int64_t index = -1;    // element index within its section, row index; -1 when none
  std::int64_t offset = -1;   // byte offset of the first byte in the file, -1 when none
};

struct VListingField {
  std::int64_t offset = 0;              // byte offset in the file (the part file listed)
  std::uint32_t width = 0;              // bytes the field takes in the file
  const std::uint8_t* bytes = nullptr;  // those bytes, as the file holds them
  VFieldKind kind = VFieldKind::word;
  std::int64_t number = 0;  // the value, for every kind but real
  double real = 0.0;        // the value of a real
  std::string_view label;   // the label as listed, without trailing blanks
  std::string_view text;    // the listing text of the field, line ends included
  bool timeStamp = false;   // a date, time or version stamp of the file
};

// What a value means, beside the fields it spans.
enum class VValueKind : std::uint8_t {
  text,         // characters decoded from their bytes (`text`), `length` the declared length
  real,         // the controller's 32-bit real (`real`)
  number,       // a whole number (`number`), 32-bit ones spread over two listed words
  dateTime,     // a date and time of a header (`text`: "YYYY-MM-DD hh:mm:ss.mmm")
  boolean,      // `number` 0 or 1, `text` "false" or "true"
  enumeration,  // `number` and the text it stands for (`text`)
  code,         // a block or element code (`number`) and its name (`text`)
  key,          // the key of an element (`number`)
  name,         // the name of an element (`text`)
};

// A value: what the domain's layout says one or more fields hold, decoded. It follows the last
// field it spans. `offset` and `width` cover those fields' bytes in the file listed.
struct VListingValue {
  std::int64_t offset = 0;
  std::uint32_t width = 0;
  VValueKind kind = VValueKind::number;
  std::string_view label;    // the item's name in the layout ("OffsetToBlock1", "value A")
  std::string_view text;     // text, name, enumeration and code texts, dates
  std::int64_t number = 0;   // number, key, code, enumeration, boolean
  double real = 0.0;         // real
  std::int64_t length = -1;  // text and name: the declared length in characters, else -1
  bool timeStamp = false;    // a date, time or version stamp of the file
};

// Receives the events of one listing, in file order. Every method has an empty default.
// Views passed in are valid only for the call.
class MORVIT_API VListingSink {
 public:
  virtual ~VListingSink();
  // A file begins: the domain file, and each further part file of a continued domain.
  virtual void File(std::string_view name, std::uint32_t part, std::uint64_t size);
  virtual void Begin(const VListingBegin& begin);
  virtual void Field(const VListingField& field);
  virtual void End(VListingPlace kind);
  // Listing text outside any field: heads, column heads, blank lines.
  virtual void Text(std::string_view text);
  // The listing stops short: the file is cut, damaged or cannot be read. `offset` is where
  // (-1 when not known), `reason` says why in words.
  virtual void Stop(std::int64_t offset, std::string_view reason);
  // False for a sink that never looks at the listing text of fields: the class listings then
  // leave their lines unformatted (a field's text is empty).
  virtual bool WantsText() const;
  // A value the layout gives to the fields just listed (after the last field it spans).
  virtual void Value(const VListingValue& value);
};

// Lists the domain file at `path` as VBase_DumpDomain lists it (its class listing, or the
// dump driver's CODE, DATA or MOVE listing, under the listing switches in force), but into
// `sink` instead of the listing file. A listing file that was there before stays as it was,
// and none is left behind; a compressed domain is expanded beside it as for a text listing.
// Returns false when the file gives no listing (it cannot be read, is damaged, or is of a kind
// without one); the sink has heard why through Stop.
MORVIT_API bool ListDomainEvents(const CString& path, VListingSink& sink);

}  // namespace morvit

#endif  // MORVIT_VLISTINGEVENTS_H
