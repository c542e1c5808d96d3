// VPodeDomain: the PODE domain (type 65), the code of one task's program: a 24-byte program
// header and up to seven element sections, whose layout depends on whether the program has a
// pre-program. The PC program back-translation hands the elements to the database, sorted by
// the sub-section markers of the section that a program without a pre-program holds.
#ifndef MORVIT_DOMAINS_VPODEDOMAIN_H
#define MORVIT_DOMAINS_VPODEDOMAIN_H

#include <cstdint>

#include "domains/VDomain.h"
#include "domains/VDomainSection.h"
#include "files/VHeaderRecord.h"
#include "morvit/VProgramWriters.h"
#include "support/DomainTypes.h"

namespace morvit {

// The program header: twelve cardinals, of which the pre-program offset decides the layout and
// the program-variable offset goes to the database; the others are carried.
class VPodeHeader : public VHeaderRecord {
 public:
  static constexpr std::uint16_t kNoPreProgram = 0xFFFF;

  std::uint16_t GetSize() const override;
  void Parse() override;
  void Write(VDomainFile& file, int listing) override;
  // Fills the record's bytes from a writer's content and parses them.
  void SetContent(const VPodeContent& content);

  bool HasPreProgram() const { return m_wOffsetToPreProg != kNoPreProgram; }

  std::uint16_t m_wOffsetToProgVar = 0;
  std::uint16_t m_wOffsetToPreProg = kNoPreProgram;
  std::uint16_t m_wOffsetToExtension = 0;
};

class VPodeDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VPodeDomain)

 public:
  static constexpr std::uint16_t kType = DomainTypeOf("PD");

  VPodeDomain();
  ~VPodeDomain() override;

  // The common header, the program header, then the sections of the header's layout.
  void ReadDomain() override;
  // The same, as data or listing lines.
  void WriteDomain(int listing) override;
  // Hands the prolog, section 660, the program initialisation, section 0 (twice: once by its
  // sub-sections 604 and 660, once by 652 with SetLevel at each end marker), the pre-program
  // and section 652 to the database, one progress step per element; then
  // SetBeginProgVarPOLO, SetObjectId and FinishTask. 0 when the user cancelled.
  int Backtranslate() override;

  // Fills the header and the sections from a writer's content. A section that the header's
  // layout has no place for must be empty: it would not be written.
  void SetContent(const VPodeContent& content);

 private:
  // The sections of the header's layout, in file order.
  std::vector<VDomainSection*> FileSections();
  // Hands every element of `section` to Insert with `code`, a progress step before each.
  bool InsertAll(const VDomainSection& section, std::uint16_t code);
  // One progress step; false when the user cancelled.
  bool Step();
  // The two passes over section 0.
  void InsertBySubSections();
  bool InsertByLevel();

  VPodeHeader m_programHeader;
  VDomainSection m_programInit;  // 568 .. 572
  VDomainSection m_record576;    // single record
  VDomainSection m_prolog;       // 604 .. 648
  VDomainSection m_preProgram;   // 580 .. 600, with a pre-program
  VDomainSection m_section652;   // 652 .. 656, with a pre-program
  VDomainSection m_section660;   // 660 .. 696
  VDomainSection m_record700;    // single record
  VDomainSection m_section0;     // 0 .. 4, without a pre-program

  // Back-translation progress.
  CString m_strProgressText;
  // Counted in 32 bits: a file that holds more than 65535 elements must not make a wrapped
  // total of 0 (a division by zero) or a percentage beyond 100.
  std::uint32_t m_lTotal = 0;
  std::uint32_t m_lDone = 0;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VPODEDOMAIN_H
