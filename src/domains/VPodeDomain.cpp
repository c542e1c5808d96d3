// VPodeDomain: the program header as a layout table, the sections in the order the header's
// layout gives, and the sorted hand-over to the database.
#include "domains/VPodeDomain.h"

#include "domains/FieldLayout.h"
#include "domains/ProgramContent.h"
#include "domains/SectionBacktranslation.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VPodeDomain, VDomain)

namespace {

constexpr FieldSpec kHeaderFields[] = {
    {"Length", FieldEncoding::Cardinal},          {"OffsetToProgInit", FieldEncoding::Cardinal},
    {"ProgramNumber", FieldEncoding::Cardinal},   {"KindOfProgram", FieldEncoding::Cardinal},
    {"OffsetToProgVar", FieldEncoding::Cardinal}, {"OffsetToProgStart", FieldEncoding::Cardinal},
    {"OffsetToPreProg", FieldEncoding::Cardinal}, {"OffsetToProlog", FieldEncoding::Cardinal},
    {"OffsetToOrders", FieldEncoding::Cardinal},  {"OffsetToEpilog", FieldEncoding::Cardinal},
    {"OffsetToProgEnd", FieldEncoding::Cardinal}, {"OffsetToExtension", FieldEncoding::Cardinal},
};
constexpr FieldLayout kHeaderLayout(kHeaderFields);
constexpr std::size_t kOffsetToProgVar = 4;
constexpr std::size_t kOffsetToPreProg = 6;
constexpr std::size_t kOffsetToExtension = 11;

// Section codes: start and end of each section, and the sub-section markers of section 0.
constexpr std::uint16_t kProgInitStart = 568, kProgInitEnd = 572;
constexpr std::uint16_t kRecord576 = 576;
constexpr std::uint16_t kPreProStart = 580, kPreProEnd = 600;
constexpr std::uint16_t kPrologStart = 604, kPrologEnd = 648;
constexpr std::uint16_t kSection652Start = 652, kSection652End = 656;
constexpr std::uint16_t kSection660Start = 660, kSection660End = 696;
constexpr std::uint16_t kRecord700 = 700;
constexpr std::uint16_t kSection0Start = 0, kSection0End = 4;
// Elements of section 0 handed over under their own code in either pass.
constexpr std::uint16_t kLevelElement = 8;

}  // namespace

std::uint16_t VPodeHeader::GetSize() const {
  return static_cast<std::uint16_t>(LayoutSize(kHeaderLayout));
}

void VPodeHeader::Parse() {
  m_wOffsetToProgVar = static_cast<std::uint16_t>(GetField(*this, kHeaderLayout, kOffsetToProgVar));
  m_wOffsetToPreProg = static_cast<std::uint16_t>(GetField(*this, kHeaderLayout, kOffsetToPreProg));
  m_wOffsetToExtension =
      static_cast<std::uint16_t>(GetField(*this, kHeaderLayout, kOffsetToExtension));
}

void VPodeHeader::Write(VDomainFile& file, int listing) {
  SeekToBegin();
  WriteLayout(m_io, *this, file, kHeaderLayout, listing);
}

void VPodeHeader::SetContent(const VPodeContent& content) {
  const std::uint16_t values[] = {
      content.length,          content.offsetToProgInit, content.programNumber,
      content.kindOfProgram,   content.offsetToProgVar,  content.offsetToProgStart,
      content.offsetToPreProg, content.offsetToProlog,   content.offsetToOrders,
      content.offsetToEpilog,  content.offsetToProgEnd,  content.offsetToExtension};
  std::size_t index = 0;
  for (const std::uint16_t value : values) SetField(*this, kHeaderLayout, index++, value);
  Parse();
}

VPodeDomain::VPodeDomain()
    : m_programInit(kProgInitStart, kProgInitEnd),
      m_record576(kRecord576, kRecord576, kSectionBlockHeaderSize),
      m_prolog(kPrologStart, kPrologEnd),
      m_preProgram(kPreProStart, kPreProEnd),
      m_section652(kSection652Start, kSection652End),
      m_section660(kSection660Start, kSection660End),
      m_record700(kRecord700, kRecord700, kSectionBlockHeaderSize),
      m_section0(kSection0Start, kSection0End) {}

VPodeDomain::~VPodeDomain() = default;

std::vector<VDomainSection*> VPodeDomain::FileSections() {
  if (m_programHeader.HasPreProgram()) {
    return {&m_programInit, &m_record576,  &m_preProgram, &m_prolog,
            &m_section652,  &m_section660, &m_record700};
  }
  return {&m_programInit, &m_record576, &m_prolog, &m_section0, &m_section660, &m_record700};
}

void VPodeDomain::ReadDomain() {
  ReadDomainHeader();
  m_programHeader.Read(m_file);
  for (VDomainSection* section : FileSections()) {
    section->Read(m_file, section->GetStartCode(), section->GetEndCode(), 0);
  }
}

void VPodeDomain::WriteDomain(int listing) {
  std::uint32_t length = m_programHeader.GetSize();
  for (VDomainSection* section : FileSections()) length += section->GetLength();
  WriteDomainHeader(static_cast<std::uint16_t>(length), listing);
  m_programHeader.Write(m_file, listing);
  for (VDomainSection* section : FileSections()) section->Write(m_file, listing);
}

void VPodeDomain::SetContent(const VPodeContent& content) {
  m_programHeader.SetContent(content);
  const bool preProgram = m_programHeader.HasPreProgram();
  if (preProgram ? !content.section0.empty()
                 : !content.preProgram.empty() || !content.section652.empty()) {
    RefuseContent();
  }
  FillSection(m_programInit, content.programInit);
  FillRecord(m_record576, content.record576);
  FillSection(m_preProgram, content.preProgram);
  FillSection(m_prolog, content.prolog);
  FillSection(m_section652, content.section652);
  FillSection(m_section0, content.section0);
  FillSection(m_section660, content.section660);
  FillRecord(m_record700, content.record700);
}

bool VPodeDomain::Step() {
  ++m_lDone;
  ReportProgress(static_cast<int>(std::uint64_t{m_lDone} * 100 / m_lTotal), m_strProgressText);
  return !CancelRequested();
}

bool VPodeDomain::InsertAll(const VDomainSection& section, std::uint16_t code) {
  for (const auto& element : section.GetElements()) {
    if (!Step()) return false;
    element->SeekToBegin();
    m_pDatabase->Insert(code, element.get());
  }
  return true;
}

// First pass over section 0: elements between the markers 604 and 648 go over under 604, those
// between 660 and 696 under 660, elements of code 0 under 0 anywhere; markers are not handed
// over, nor other elements outside a sub-section.
void VPodeDomain::InsertBySubSections() {
  std::uint16_t start = 0;
  std::uint16_t end = 0;
  bool inside = false;
  for (const auto& element : m_section0.GetElements()) {
    const std::uint16_t code = element->GetCode();
    element->SeekToBegin();
    if (code == kPrologStart || code == kSection660Start) {
      start = code;
      end = code == kPrologStart ? kPrologEnd : kSection660End;
      inside = true;
    } else if (inside && code == end) {
      inside = false;
    } else if (code == kSection0Start) {
      m_pDatabase->Insert(kSection0Start, element.get());
    } else if (inside) {
      m_pDatabase->Insert(start, element.get());
    }
  }
}

// Second pass over section 0, one progress step per element: elements after a 652 marker go
// over under 652 until a 656 marker, which (once a 652 has been seen in this pass) lowers the
// level by one; elements of code 8 go over under 8 anywhere.
bool VPodeDomain::InsertByLevel() {
  bool inside = false;
  bool seen652 = false;
  for (const auto& element : m_section0.GetElements()) {
    if (!Step()) return false;
    const std::uint16_t code = element->GetCode();
    element->SeekToBegin();
    if (code == kSection652Start) {
      inside = true;
      seen652 = true;
      continue;
    }
    if (code == kSection652End && seen652) {
      m_pDatabase->SetLevel(-1, 1);
      inside = false;
    }
    if (code == kLevelElement) {
      m_pDatabase->Insert(kLevelElement, element.get());
    } else if (inside) {
      m_pDatabase->Insert(kSection652Start, element.get());
    }
  }
  return true;
}

int VPodeDomain::Backtranslate() {
  m_strProgressText = m_file.GetFileName();
  if (m_pDatabase == nullptr) return 1;
  m_lTotal = 0;
  for (const VDomainSection* section :
       {&m_section660, &m_prolog, &m_programInit, &m_section0, &m_preProgram, &m_section652}) {
    m_lTotal += static_cast<std::uint32_t>(section->GetElements().size());
  }
  m_lDone = 0;
  if (!InsertAll(m_prolog, kPrologStart) || !InsertAll(m_section660, kSection660Start) ||
      !InsertAll(m_programInit, kProgInitStart)) {
    return 0;
  }
  InsertBySubSections();
  if (!InsertByLevel() || !InsertAll(m_preProgram, kPreProStart) ||
      !InsertAll(m_section652, kSection652Start)) {
    return 0;
  }
  m_pDatabase->SetBeginProgVarPOLO(m_programHeader.m_wOffsetToProgVar);
  m_pDatabase->SetObjectId(ObjectId());
  m_pDatabase->FinishTask();
  return 1;
}

}  // namespace morvit
