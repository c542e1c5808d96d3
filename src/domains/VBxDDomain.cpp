// VBxDDomain: the slot header and the program blocks in and out, and the hand-over of each
// program's basic objects to the database.
#include "domains/VBxDDomain.h"

#include "domains/SectionBacktranslation.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VBxDDomain, VDomain)

namespace {

constexpr auto kCard = FieldEncoding::Cardinal;

}  // namespace

const FieldSpec VBxDDomain::kHeader[2 + kMaxPrograms] = {
    {"HeaderWord", kCard},  {"ElementWord", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard},
    {"ProgramSlot", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard},
    {"ProgramSlot", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard},
    {"ProgramSlot", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard}, {"ProgramSlot", kCard},
    {"ProgramSlot", kCard}, {"ProgramSlot", kCard}};
const FieldSpec VBxDDomain::kProgramHead[4] = {
    {"ProgramHead", kCard}, {"ProgramHead", kCard}, {"ProgramHead", kCard}, {"ProgramHead", kCard}};
const FieldSpec VBxDDomain::kProgramTrailer[2] = {{"ProgramTrailer", kCard},
                                                  {"ProgramTrailer", kCard}};

VBxDDomain::VBxDDomain() = default;

VBxDDomain::~VBxDDomain() = default;

void VBxDDomain::ReadDomain() {
  ReadDomainHeader();
  ReadLayout(m_file, m_headerImage, kHeader);
  m_wElementWord = static_cast<std::uint16_t>(GetField(m_headerImage, kHeader, kElementWordField));
  m_wProgramCount = 0;
  for (std::size_t slot = 0; slot < kMaxPrograms; ++slot) {
    if (GetField(m_headerImage, kHeader, kFirstSlotField + slot) != kFreeSlot) ++m_wProgramCount;
  }
  for (std::uint16_t i = 0; i < m_wProgramCount; ++i) {
    Program& program = m_programs[i];
    ReadLayout(m_file, program.head, kProgramHead);
    program.prolog.Read(m_file, kPrologStart, kPrologEnd, 0);
    program.sectionB.Read(m_file, kSectionBStart, kSectionBEnd, 0);
    program.sectionC.Read(m_file, kSectionCStart, kSectionCEnd, 0);
    // The trailer is passed over: a file may end inside it, the missing bytes count as zero.
    std::array<std::uint8_t, 4> trailer{};
    m_file.Read(trailer.data(), static_cast<unsigned>(trailer.size()));
    program.trailer.SetLength(0);
    program.trailer.Write(trailer.data(), static_cast<unsigned>(trailer.size()));
  }
}

// A domain that holds nothing yet (the manager's: section records do not reach a BxD) is
// written with every slot free, so that it reads back as a domain without programs.
void VBxDDomain::WriteDomain(int listing) {
  if (m_headerImage.GetLength() == 0) {
    for (std::size_t slot = 0; slot < kMaxPrograms; ++slot) {
      SetField(m_headerImage, kHeader, kFirstSlotField + slot, kFreeSlot);
    }
    SetField(m_headerImage, kHeader, 0, 0);
    SetField(m_headerImage, kHeader, kElementWordField, 0);
  }
  std::uint32_t length = static_cast<std::uint32_t>(m_headerImage.GetLength());
  for (std::uint16_t i = 0; i < m_wProgramCount; ++i) {
    const Program& p = m_programs[i];
    length += LayoutSize(kProgramHead) + p.prolog.GetLength() + p.sectionB.GetLength() +
              p.sectionC.GetLength() + LayoutSize(kProgramTrailer);
  }
  WriteDomainHeader(static_cast<std::uint16_t>(length), listing);
  m_headerImage.SeekToBegin();
  WriteLayout(m_io, m_headerImage, m_file, kHeader, listing);
  for (std::uint16_t i = 0; i < m_wProgramCount; ++i) {
    Program& p = m_programs[i];
    p.head.SeekToBegin();
    WriteLayout(m_io, p.head, m_file, kProgramHead, listing);
    p.prolog.Write(m_file, listing);
    p.sectionB.Write(m_file, listing);
    p.sectionC.Write(m_file, listing);
    p.trailer.SeekToBegin();
    WriteLayout(m_io, p.trailer, m_file, kProgramTrailer, listing);
  }
}

int VBxDDomain::Backtranslate() {
  if (m_pDatabase == nullptr) return 1;
  long total = 0;
  for (std::uint16_t i = 0; i < m_wProgramCount; ++i) {
    const Program& p = m_programs[i];
    total += ElementCount({&p.prolog, &p.sectionB, &p.sectionC});
    m_pDatabase->FinishTask();
  }
  ElementHandOver handOver(*m_pDatabase, m_file.GetFileName(), total);
  for (std::uint16_t i = 0; i < m_wProgramCount; ++i) {
    const Program& p = m_programs[i];
    if (!handOver.InsertBasicObjects(p.prolog, kPrologStart) ||
        !handOver.InsertBasicObjects(p.sectionC, kSectionCStart) ||
        !handOver.InsertBasicObjects(p.sectionB, kSectionBStart, true, m_wElementWord)) {
      return 0;
    }
  }
  m_pDatabase->SetObjectId(DomainObjectId(m_file.GetParcel()));
  return 1;
}

}  // namespace morvit
