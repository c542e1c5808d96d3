// Reading an element's items back by their layout and telling their values to the listing.
#include "domains/ValueLayout.h"

#include <string>
#include <vector>

#include "io/ListingEvents.h"
#include "morvit/VMotorolaIO.h"

namespace morvit {
namespace {

// Reads one item at the element's position and tells its value; `base` is the file offset of
// the element's first byte.
void ListItem(VMotorolaIO& io, CFile& element, const ValueItem& item, std::int64_t base) {
  const std::int64_t start = element.GetPosition();
  VListingValue value;
  value.label = item.label;
  const auto finish = [&] {
    value.offset = base + start;
    value.width = static_cast<std::uint32_t>(element.GetPosition() - start);
    events::Value(value);
  };
  switch (item.encoding) {
    case ValueEncoding::Cardinal:
    case ValueEncoding::Key:
      value.kind = item.encoding == ValueEncoding::Key ? VValueKind::key : VValueKind::number;
      value.number = io.ReadCardinal(element);
      return finish();
    case ValueEncoding::Integer:
      value.number = io.ReadInteger(element);
      return finish();
    case ValueEncoding::LongInt:
      value.number = io.ReadLongInt(element);
      return finish();
    case ValueEncoding::LongCard:
      value.number = io.ReadLongCard(element);
      return finish();
    case ValueEncoding::Real:
      value.kind = VValueKind::real;
      value.real = io.ReadReal(element);
      return finish();
    case ValueEncoding::Boolean:
      value.kind = VValueKind::boolean;
      value.number = io.ReadBoolean(element) != 0 ? 1 : 0;
      value.text = value.number != 0 ? "true" : "false";
      return finish();
    case ValueEncoding::BString:
    case ValueEncoding::Name: {
      const std::uint16_t length = io.ReadCardinal(element);
      std::vector<char> chars(std::size_t{length} + 1);
      io.ReadString(element, length, chars.data(), chars.size());
      events::TextValue(base + start, static_cast<std::uint32_t>(element.GetPosition() - start),
                        item.label, std::string_view(chars.data(), length),
                        item.encoding == ValueEncoding::Name ? VValueKind::name : VValueKind::text);
      return;
    }
    case ValueEncoding::Terminal: {
      TBATerminal terminal{};
      io.ReadTerminalValue(element, terminal);
      events::TerminalValue(base + start, static_cast<std::uint32_t>(element.GetPosition() - start),
                            terminal, item.label);
      return;
    }
  }
}

}  // namespace

void ListElementValues(CFile& element, const ElementValueLayout& layout, std::int64_t offset) {
  if (!events::ValuesWanted()) return;
  VMotorolaIO io;
  element.SeekToBegin();
  const std::uint64_t length = element.GetLength();
  try {
    for (const ValueItem& item : layout.first) ListItem(io, element, item, offset);
    while (!layout.repeated.empty() && element.GetPosition() < length) {
      for (const ValueItem& item : layout.repeated) ListItem(io, element, item, offset);
    }
  } catch (const CFileException&) {
    // The element ends inside an item: its words say the rest.
  }
}

}  // namespace morvit
