// VBxDDomain: the BxD domains (types 96 to 103), each up to 16 programs of basic objects, every
// program a prolog section and two code sections. Read and handed to the database program by
// program during database back-translation; written by the configuration writers.
#ifndef MORVIT_DOMAINS_VBXDDOMAIN_H
#define MORVIT_DOMAINS_VBXDDOMAIN_H

#include <array>
#include <cstdint>

#include "domains/FieldLayout.h"
#include "domains/VDomain.h"
#include "domains/VDomainSection.h"
#include "morvit/VElement.h"

namespace morvit {

class VBxDDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VBxDDomain)

 public:
  static constexpr std::size_t kMaxPrograms = 16;
  // A slot word that marks a free slot.
  static constexpr std::uint16_t kFreeSlot = 0xFFFF;
  // The header, 36 bytes: a word not interpreted, the element word, the 16 program slots.
  static const FieldSpec kHeader[2 + kMaxPrograms];
  static constexpr std::size_t kElementWordField = 1;
  static constexpr std::size_t kFirstSlotField = 2;
  // Around each program's sections: a head of four cardinals and a 4-byte trailer, neither
  // interpreted; the object keeps both so that a domain read and written again is unchanged.
  static const FieldSpec kProgramHead[4];
  static const FieldSpec kProgramTrailer[2];

  static constexpr std::uint16_t kPrologStart = 604;
  static constexpr std::uint16_t kPrologEnd = 648;
  static constexpr std::uint16_t kSectionBStart = 448;
  static constexpr std::uint16_t kSectionBEnd = 456;
  static constexpr std::uint16_t kSectionCStart = 660;
  static constexpr std::uint16_t kSectionCEnd = 696;

  struct Program {
    VElement head;     // kProgramHead's bytes
    VElement trailer;  // kProgramTrailer's bytes
    VDomainSection prolog{kPrologStart, kPrologEnd};
    VDomainSection sectionB{kSectionBStart, kSectionBEnd};
    VDomainSection sectionC{kSectionCStart, kSectionCEnd};
  };

  VBxDDomain();
  ~VBxDDomain() override;

  void ReadDomain() override;
  // The header, then per program its head, the prolog section, section B, section C and its
  // trailer; the domain length counts all of them.
  void WriteDomain(int listing) override;
  // FinishTask once per program, then per program the prolog elements (604), section C (660)
  // and section B (448, each element carrying the element word) to
  // VDatabase::InsertBasicObject; then the object id. 0 when the user cancelled.
  int Backtranslate() override;

  // The writer's access. Programs 0 to count - 1 are present.
  VElement& HeaderImage() { return m_headerImage; }
  Program& GetProgram(std::size_t index) { return m_programs[index]; }
  std::uint16_t GetProgramCount() const { return m_wProgramCount; }
  void SetProgramCount(std::uint16_t count) { m_wProgramCount = count; }

 private:
  VElement m_headerImage;
  std::uint16_t m_wProgramCount = 0;
  std::array<Program, kMaxPrograms> m_programs;
  std::uint16_t m_wElementWord = 0;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VBXDDOMAIN_H
