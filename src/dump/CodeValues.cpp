// The CODE listing's values: header steps by their meaning, and the decoder-table body read by
// the layout of its entries and element descriptions.
#include "dump/CodeValues.h"

#include <algorithm>

#include "domains/CbxTypeTable.h"
#include "dump/NameTables.h"
#include "files/HeaderFormat.h"
#include "io/ListingEvents.h"
#include "support/ControllerTypes.h"

namespace morvit {

namespace {

using dumplayout::Meaning;

// A year of a short-form date is kept modulo 100: below this it is one of the 2000s, as the
// long form reads its year offsets.
constexpr unsigned kShortYearsOf2000 = 90;

// The decoder header of a first file follows its three headers; its first two words give where
// the decoder table and the element descriptions start (0xFFFF: no description).
constexpr std::size_t kDecoderHeaderAt = headerformat::kFirstPartHeaderSize;
constexpr std::uint16_t kNoDescription = 0xFFFF;
// Element description head: SizeOfFB, TypeOfElement, NameLength.
constexpr std::size_t kDescriptionHeadSize = 2 + 2 + 2;
// Decoder-table entry: the element type's name and item designation after three words; per
// terminal, its name after six bytes.
constexpr std::size_t kEntryTypeNameAt = 6;
constexpr std::size_t kEntryDesignationAt = kEntryTypeNameAt + kElementTypeNameWidth;
constexpr std::size_t kTerminalNameAt = 6;

std::string_view Chars(std::span<const std::uint8_t> bytes) {
  const std::string_view chars(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return chars.substr(0, chars.find('\0'));
}

// What an address code of a decoder-table entry says its element descriptions carry.
std::string_view AddressTypeText(std::uint8_t code) {
  static constexpr std::string_view kTexts[] = {
      "enumeration texts",           "byte offset in COLO",         "byte and bit offset in COLO",
      "byte offset in COLE",         "byte and bit offset in COLE", "byte offset in COPM",
      "byte and bit offset in COPM", "byte offset in CODA",         "byte and bit offset in CODA",
  };
  return code <= kLastAddressCode ? kTexts[code] : std::string_view();
}

class DecoderBodyPlan {
 public:
  explicit DecoderBodyPlan(std::span<const std::uint8_t> file) : m_file(file) {}

  void Entries(std::size_t at, std::size_t end) {
    for (std::int64_t index = 0; at + kEntryBaseSize <= end; ++index) {
      const std::size_t size = Word(at + 2);
      if (size < kEntryBaseSize || at + size > end || size % 2 != 0) return;
      Begin(at, Word(at), Chars(m_file.subspan(at + kEntryTypeNameAt, kElementTypeNameWidth)),
            index);
      ElementType(at);
      Text(at + kEntryTypeNameAt, kElementTypeNameWidth, "ElementType");
      Text(at + kEntryDesignationAt, kItemDesignationWidth, "ItemDesignation");
      std::size_t p = at + kEntryBaseSize;
      for (std::uint32_t a = 0; a <= Word(at + 4) && p + kAddressTypeSize <= at + size; ++a) {
        const std::uint8_t code = m_file[p];
        const std::uint32_t terminals = m_file[p + 1] + 1u;
        Value(p, 1, VValueKind::enumeration, "AddrType", code, AddressTypeText(code));
        p += kAddressTypeSize;
        for (std::uint32_t t = 0; t < terminals && p + kTerminalSize <= at + size; ++t) {
          Text(p + kTerminalNameAt, kTerminalNameWidth, "TerminalName");
          p += kTerminalSize;
        }
      }
      End(at + size);
      at += size;
    }
  }

  // Each description by the type table's row for its type (the file's decoder table only
  // repeats it); one of an unknown type shows its head alone.
  void Descriptions(std::size_t at) {
    for (std::int64_t index = 0; at + kDescriptionHeadSize <= m_file.size(); ++index) {
      const std::size_t size = Word(at);
      const std::uint16_t type = Word(at + 2);
      const std::size_t nameLength = Word(at + 4);
      const std::size_t named = at + kDescriptionHeadSize + nameLength;
      if (size < kDescriptionHeadSize || size % 2 != 0 || at + size > m_file.size() ||
          named > at + size) {
        return;
      }
      const bool known = type >= 1 && type <= kCbxElementTypeCount;
      Begin(at, type, known ? std::string_view(CbxType(type - 1u).name) : std::string_view(),
            index);
      ElementType(at + 2);
      Value(at + kDescriptionHeadSize, static_cast<std::uint32_t>(nameLength), VValueKind::name,
            "name", 0, Chars(m_file.subspan(at + kDescriptionHeadSize, nameLength)),
            static_cast<std::int64_t>(nameLength));
      if (known) AddressFields(type - 1u, named + nameLength % 2, at + size);
      End(at + size);
      at += size;
    }
  }

  std::vector<PlannedEvent> Take() {
    std::stable_sort(m_events.begin(), m_events.end(),
                     [](const PlannedEvent& a, const PlannedEvent& b) {
                       return a.at != b.at ? a.at < b.at : a.kind < b.kind;
                     });
    return std::move(m_events);
  }

  std::uint16_t Word(std::size_t at) const {
    return at + 2 <= m_file.size() ? controller::BytesToCardinal(m_file.data() + at) : 0;
  }

 private:
  void AddressFields(std::size_t t, std::size_t p, std::size_t end) {
    for (const CbxAddressType& address : CbxAddressTypes(t)) {
      if (address.code == kEnumTextsAddress) {
        for (std::size_t j = 0; j < address.terminalCount && p < end; ++j) {
          const std::size_t length = m_file[p];
          if (p + 1 + length > end) return;
          Value(p, static_cast<std::uint32_t>(length + 1), VValueKind::text, "Enum", 0,
                Chars(m_file.subspan(p + 1, length)), static_cast<std::int64_t>(length));
          p += length + 1 + (length % 2 == 0 ? 1 : 0);
        }
        continue;
      }
      const CbxAreaLabels& area = CbxArea(address.code);
      for (const char* label :
           {area.byteLabel, CbxCarriesBitOffset(address.code) ? area.bitLabel : nullptr}) {
        if (label == nullptr) continue;
        if (p + 2 > end) return;
        Value(p, 2, VValueKind::number, label, Word(p), {});
        p += 2;
      }
    }
  }

  void ElementType(std::size_t at) {
    const std::uint16_t type = Word(at);
    const bool known = type >= 1 && type <= kCbxElementTypeCount;
    Value(at, 2, known ? VValueKind::enumeration : VValueKind::number, "TypeOfElement", type,
          known ? std::string_view(CbxType(type - 1u).name) : std::string_view());
  }

  void Text(std::size_t at, std::size_t width, const char* label) {
    Value(at, static_cast<std::uint32_t>(width), VValueKind::text, label, 0,
          Chars(m_file.subspan(at, width)), static_cast<std::int64_t>(width));
  }

  void Value(std::size_t at, std::uint32_t width, VValueKind kind, const char* label,
             std::int64_t number, std::string_view text, std::int64_t length = -1) {
    PlannedEvent& event = m_events.emplace_back();
    event.at = static_cast<std::uint32_t>((at + width + 1) / 2);
    event.value.offset = static_cast<std::int64_t>(at);
    event.value.width = width;
    event.value.kind = kind;
    event.value.label = label;
    event.value.number = number;
    event.value.text = text;
    event.value.length = length;
  }

  void Begin(std::size_t at, std::uint16_t code, std::string_view codeName, std::int64_t index) {
    PlannedEvent& event = m_events.emplace_back();
    event.at = static_cast<std::uint32_t>(at / 2);
    event.kind = PlannedEvent::Kind::begin;
    event.begin = {VListingPlace::element,       {}, code, codeName, index,
                   static_cast<std::int64_t>(at)};
  }

  void End(std::size_t at) {
    PlannedEvent& event = m_events.emplace_back();
    event.at = static_cast<std::uint32_t>(at / 2);
    event.kind = PlannedEvent::Kind::end;
  }

  std::span<const std::uint8_t> m_file;
  std::vector<PlannedEvent> m_events;
};

}  // namespace

std::uint32_t MeaningWords(const dumplayout::LabelStep& step) {
  return step.meaning == Meaning::longNumber ? 2u : step.count;
}

bool HeaderStepValue(Meaning meaning, std::span<const std::uint8_t> bytes, std::int64_t offset,
                     std::string_view label, VListingValue& value, std::string& text) {
  value = {};
  value.offset = offset;
  value.width = static_cast<std::uint32_t>(bytes.size());
  value.label = events::TrimLabel(label);
  const std::uint16_t word = bytes.size() >= 2 ? controller::BytesToCardinal(bytes.data()) : 0;
  switch (meaning) {
    case Meaning::none:
      return false;
    case Meaning::text:
    case Meaning::name:
      value.kind = meaning == Meaning::name ? VValueKind::name : VValueKind::text;
      value.text = Chars(bytes);
      value.length = static_cast<std::int64_t>(bytes.size());
      return true;
    case Meaning::key:
      value.kind = VValueKind::key;
      value.number = word;
      return true;
    case Meaning::code:
      value.kind = VValueKind::code;
      value.number = word;
      value.text = events::TrimLabel(ElementNameEntry(word).name);
      return true;
    case Meaning::flag:
      value.kind = VValueKind::boolean;
      value.number = word != 0 ? 1 : 0;
      value.text = word != 0 ? "true" : "false";
      return true;
    case Meaning::longNumber:
      value.number = controller::BytesToLongInt(bytes.data());
      return true;
    case Meaning::shortDate: {
      const unsigned year = bytes[0] < kShortYearsOf2000 ? 2000u + bytes[0] : 1900u + bytes[0];
      text = events::DateTimeText(year, bytes[1], bytes[2], bytes[3], bytes[4], bytes[5],
                                  controller::BytesToCardinal(bytes.data() + 6));
      value.kind = VValueKind::dateTime;
      value.text = text;
      return true;
    }
  }
  return false;
}

std::vector<PlannedEvent> PlanDecoderBody(std::span<const std::uint8_t> file, bool firstFile) {
  DecoderBodyPlan plan(file);
  if (!firstFile) {
    plan.Descriptions(headerformat::kPartHeaderSize);
    return plan.Take();
  }
  const std::size_t table = plan.Word(kDecoderHeaderAt);
  const std::size_t descriptions = plan.Word(kDecoderHeaderAt + 2);
  const std::size_t tableEnd = descriptions == kNoDescription ? file.size() : descriptions;
  if (table >= kDecoderHeaderAt + headerformat::kDecoderHeaderSize && table <= tableEnd &&
      tableEnd <= file.size()) {
    plan.Entries(table, tableEnd);
    if (descriptions != kNoDescription) plan.Descriptions(descriptions);
  }
  return plan.Take();
}

}  // namespace morvit
