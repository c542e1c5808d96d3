// Writers of the configuration domains: content structs laid into the domain classes, which then
// write themselves as generation does (open, write, close).
#include "morvit/VConfigWriters.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "domains/ConfigDomainTypes.h"
#include "domains/VBxDDomain.h"
#include "domains/VCbXDomain.h"
#include "domains/VCodaDomain.h"
#include "domains/VCoioDomain.h"
#include "domains/WriterGeneration.h"

using namespace morvit;

namespace morvit {
namespace {

// Room for the parcels of a decoder-table domain of 64 MiB.
constexpr std::uint16_t kMaxParcels = 1024;
// The largest domain whose length the common header can carry.
constexpr std::uint32_t kMaxDomainLength = 0xFFFF;
// The element record's place in a decoder-table section record.
constexpr std::size_t kCbxElementAt = 8;
constexpr std::size_t kFirstShiftAt = 8;
constexpr std::size_t kSecondShiftAt = 10;

[[noreturn]] void Refuse(const std::string& what) { throw std::invalid_argument(what); }

void CheckText(const std::string& text, const FieldSpec& field) {
  if (text.size() > field.width) {
    Refuse(std::string(field.label) + ": \"" + text + "\" is longer than " +
           std::to_string(field.width) + " characters");
  }
}

// Appends the elements to the section and counts their blocks in its length.
void FillSection(VDomainSection& section, const std::vector<VConfigElement>& elements) {
  std::uint32_t length = section.GetLength();
  for (const VConfigElement& source : elements) {
    if (source.bytes.size() > kMaxDomainLength - kSectionBlockHeaderSize) {
      Refuse("an element of " + std::to_string(source.bytes.size()) + " bytes exceeds its block");
    }
    VElement& element = section.AppendElement(source.code);
    element.Write(source.bytes.data(), static_cast<unsigned>(source.bytes.size()));
    element.SeekToBegin();
    length += static_cast<std::uint32_t>(source.bytes.size()) + kSectionBlockHeaderSize;
  }
  if (length > kMaxDomainLength) Refuse("a section exceeds the 16-bit domain length");
  section.SetLength(static_cast<std::uint16_t>(length));
}

void CheckDomainLength(std::uint32_t bodyLength) {
  if (bodyLength + headerformat::kCommonHeaderSize > kMaxDomainLength) {
    Refuse("the domain exceeds its 16-bit domain length");
  }
}

// Writes a filled domain as generation does and returns the parcels of its files.
std::vector<ObjParcelType> Generate(VDomain& domain, ObjParcelType parcel) {
  parcel.scope = 0;
  return GenerateFilledDomain(domain, parcel, kMaxParcels);
}

ObjParcelType WithType(ObjParcelType parcel, std::uint16_t type) {
  parcel.domainType = type;
  return parcel;
}

// The 8 bytes of a load date in its short form.
std::string ShortFormDate(const RTime& date) {
  CMemFile bytes;
  try {
    VMotorolaIO().WriteRTime(bytes, date, 0, nullptr, 1);
  } catch (const std::out_of_range& e) {
    Refuse(std::string("CODAInitLoadDate: ") + e.what());
  }
  std::string text(bytes.GetLength(), '\0');
  bytes.SeekToBegin();
  bytes.Read(text.data(), static_cast<unsigned>(text.size()));
  return text;
}

void FillCoda(VCodaDomain& coda, const VCodaContent& c) {
  using H = VCodaDomain;
  VElement& image = coda.HeaderImage();
  const std::uint16_t words[] = {c.coloLength,        c.coleLength,     c.copmLength,
                                 c.coloInitOffset,    c.coleInitOffset, c.copmInitOffset,
                                 c.ln700MoveOffset,   c.dsExists,       c.mviMoveOffset,
                                 c.mviExists,         c.evsSendOffset,  c.evsSendExists,
                                 c.evsTransOffset,    c.evsTransExists, c.calcEventOffset,
                                 c.calcEventScanTime, c.mvbEventOffset, c.mvbEventScanTime};
  for (std::size_t i = 0; i < std::size(words); ++i) SetField(image, H::kHeader, i, words[i]);
  const std::pair<std::size_t, const std::string*> texts[] = {
      {20, &c.nodeName}, {22, &c.targetType}, {23, &c.targetCodeInfo}};
  for (const auto& [index, text] : texts) {
    CheckText(*text, H::kHeader[index]);
    SetField(image, H::kHeader, index, *text);
  }
  SetField(image, H::kHeader, H::kLoadDateField, ShortFormDate(c.initLoadDate));

  const std::uint32_t countAt = LayoutSize(H::kHeader);
  const std::uint32_t optionSize = LayoutSize(H::kOption);
  SetField(image, H::kOptionCount, 0, static_cast<std::uint32_t>(c.options.size()), countAt);
  for (std::size_t k = 0; k < c.options.size(); ++k) {
    CheckText(c.options[k].name, H::kOption[0]);
    CheckText(c.options[k].version, H::kOption[1]);
    const std::uint32_t base =
        countAt + LayoutSize(H::kOptionCount) + static_cast<std::uint32_t>(k) * optionSize;
    if (base > kMaxDomainLength) Refuse("too many options");
    SetField(image, H::kOption, 0, c.options[k].name, base);
    SetField(image, H::kOption, 1, c.options[k].version, base);
  }

  const std::vector<VConfigElement>* sections[H::kSectionCount] = {
      &c.coloInit, &c.coleInit, &c.copmInit, &c.ln700Move, &c.mviMove,
      &c.evsSend,  &c.evsTrans, &c.evsCalc,  &c.evsMfb};
  std::uint32_t offset = static_cast<std::uint32_t>(image.GetLength());
  for (std::size_t i = 0; i < H::kSectionCount; ++i) {
    FillSection(coda.Section(i), *sections[i]);
    offset += coda.Section(i).GetLength();
  }
  // Each block's offset is where it starts in the body.
  const auto block = [&](bool present, const std::vector<std::uint8_t>& body, std::uint16_t code,
                         std::size_t field, std::unique_ptr<VElement>& element) {
    if (!present) {
      SetField(image, H::kHeader, field, H::kNoBlock);
      return;
    }
    if (body.size() > kMaxDomainLength || offset > kMaxDomainLength)
      Refuse("a block exceeds the domain");
    SetField(image, H::kHeader, field, offset);
    element = std::make_unique<VElement>(code);
    element->Write(body.data(), static_cast<unsigned>(body.size()));
    element->SeekToBegin();
    offset += static_cast<std::uint32_t>(body.size()) + 2 + 2;
  };
  block(c.hasDat, c.dat, H::kDatCode, H::kDatOffsetField, coda.DatBlock());
  block(c.hasParDat, c.parDat, H::kParDatCode, H::kParDatOffsetField, coda.ParDatBlock());
  CheckDomainLength(offset);
}

void FillBxd(VBxDDomain& bxd, const VBxdContent& c) {
  using B = VBxDDomain;
  if (c.programs.size() > B::kMaxPrograms) Refuse("a BxD domain holds at most 16 programs");
  std::vector<const VBxdProgram*> bySlot;
  for (const VBxdProgram& program : c.programs) {
    if (program.slot >= B::kMaxPrograms)
      Refuse("program slot " + std::to_string(program.slot) + " is not 0 to 15");
    if (program.slotValue == B::kFreeSlot) Refuse("a used program slot cannot hold 0xFFFF");
    bySlot.push_back(&program);
  }
  std::sort(bySlot.begin(), bySlot.end(), [](auto* a, auto* b) { return a->slot < b->slot; });
  if (std::adjacent_find(bySlot.begin(), bySlot.end(),
                         [](auto* a, auto* b) { return a->slot == b->slot; }) != bySlot.end()) {
    Refuse("two programs in one slot");
  }

  VElement& image = bxd.HeaderImage();
  SetField(image, B::kHeader, 0, c.headerWord);
  SetField(image, B::kHeader, B::kElementWordField, c.elementWord);
  for (std::size_t slot = 0; slot < B::kMaxPrograms; ++slot)
    SetField(image, B::kHeader, B::kFirstSlotField + slot, B::kFreeSlot);
  std::uint32_t length = LayoutSize(B::kHeader);
  for (std::size_t i = 0; i < bySlot.size(); ++i) {
    const VBxdProgram& source = *bySlot[i];
    SetField(image, B::kHeader, B::kFirstSlotField + source.slot, source.slotValue);
    B::Program& program = bxd.GetProgram(i);
    for (std::size_t j = 0; j < source.head.size(); ++j)
      SetField(program.head, B::kProgramHead, j, source.head[j]);
    for (std::size_t j = 0; j < source.trailer.size(); ++j)
      SetField(program.trailer, B::kProgramTrailer, j, source.trailer[j]);
    FillSection(program.prolog, source.prolog);
    FillSection(program.sectionB, source.sectionB);
    FillSection(program.sectionC, source.sectionC);
    length += LayoutSize(B::kProgramHead) + program.prolog.GetLength() +
              program.sectionB.GetLength() + program.sectionC.GetLength() +
              LayoutSize(B::kProgramTrailer);
  }
  bxd.SetProgramCount(static_cast<std::uint16_t>(bySlot.size()));
  CheckDomainLength(length);
}

void FillCbx(VCbXDomain& cbx, const VCbxContent& c, bool takesShifts) {
  for (std::size_t i = 0; i < c.elements.size(); ++i) {
    TSectionInfo record{};
    record.kind = VCbXDomain::kKindElement;
    std::memcpy(reinterpret_cast<std::uint8_t*>(&record) + kCbxElementAt, &c.elements[i],
                sizeof(TCbxElement));
    try {
      cbx.InsertSection(&record);
    } catch (const CFileException&) {
      Refuse(
          "decoder-table element " + std::to_string(i) + " (\"" +
          std::string(c.elements[i].name, strnlen(c.elements[i].name, sizeof c.elements[i].name)) +
          "\") does not fit the domain: its type, name or texts");
    }
  }
  if (!takesShifts) return;
  for (const VCbxShift& shift : c.shifts) {
    TSectionInfo record{};
    record.kind = VCbPDomain::kKindShift;
    std::memcpy(reinterpret_cast<std::uint8_t*>(&record) + kFirstShiftAt, &shift.first,
                sizeof shift.first);
    std::memcpy(reinterpret_cast<std::uint8_t*>(&record) + kSecondShiftAt, &shift.second,
                sizeof shift.second);
    cbx.InsertSection(&record);
  }
}

}  // namespace
}  // namespace morvit

std::vector<ObjParcelType> VWriteCoio(const ObjParcelType& parcel, const VCoioContent& content) {
  VCoioDomain coio;
  SetField(coio.HeaderImage(), VCoioDomain::kHeader, 0, content.netStart);
  SetField(coio.HeaderImage(), VCoioDomain::kHeader, 1, content.busNo);
  FillSection(coio.HwInitSection(), content.hardwareInit);
  CheckDomainLength(LayoutSize(VCoioDomain::kHeader) + coio.HwInitSection().GetLength());
  return Generate(coio, WithType(parcel, kCoioType));
}

std::vector<ObjParcelType> VWriteCoda(const ObjParcelType& parcel, const VCodaContent& content) {
  VCodaDomain coda;
  FillCoda(coda, content);
  return Generate(coda, WithType(parcel, kCodaType));
}

std::vector<ObjParcelType> VWriteBxd(const ObjParcelType& parcel, const VBxdContent& content) {
  if (parcel.domainType < kFirstBxdType || parcel.domainType > kLastBxdType) {
    Refuse("a BxD domain has a type from 96 to 103, not " + std::to_string(parcel.domainType));
  }
  VBxDDomain bxd;
  FillBxd(bxd, content);
  return Generate(bxd, parcel);
}

std::vector<ObjParcelType> VWriteCbx(const ObjParcelType& parcel, const VCbxContent& content) {
  std::unique_ptr<VCbXDomain> cbx;
  if (parcel.domainType == kCbdType) {
    cbx = std::make_unique<VCbDDomain>();
  } else if (parcel.domainType == kCbpType) {
    cbx = std::make_unique<VCbPDomain>();
  } else {
    Refuse("a decoder-table domain has the type 114 or 115, not " +
           std::to_string(parcel.domainType));
  }
  FillCbx(*cbx, content, parcel.domainType == kCbpType);
  return Generate(*cbx, parcel);
}
