// VCodaDomain: the CODA domain (type 17), a node's configuration data: area lengths and
// initialisation offsets, event and move tables, node name, load date, target type, installed
// options, nine element sections and the optional DAT and PARDAT blocks. Written by other
// tools; read here and handed to the database during database back-translation.
#ifndef MORVIT_DOMAINS_VCODADOMAIN_H
#define MORVIT_DOMAINS_VCODADOMAIN_H

#include <array>
#include <cstdint>
#include <memory>

#include "domains/FieldLayout.h"
#include "domains/VDomain.h"
#include "domains/VDomainSection.h"
#include "morvit/VElement.h"

namespace morvit {

class VCodaDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VCodaDomain)

 public:
  // The fixed header, 96 bytes: twenty cardinals, then node name, load date (an RTime in its
  // 8-byte short form, carried as text), target type and version, target code info.
  static const FieldSpec kHeader[24];
  // Field indexes the class itself reads.
  static constexpr std::size_t kColoLengthField = 0;
  static constexpr std::size_t kCopmLengthField = 2;
  static constexpr std::size_t kDatOffsetField = 18;
  static constexpr std::size_t kParDatOffsetField = 19;
  static constexpr std::size_t kLoadDateField = 21;
  // After the header: the option count (in the file: count - 1, 0xFFFF for none), then per
  // option its name (18 bytes) and version (16 bytes).
  static const FieldSpec kOptionCount[1];
  static const FieldSpec kOption[2];
  // "Offset to DAT" / "Offset to PARDAT" when the block is absent.
  static constexpr std::uint16_t kNoBlock = 0xFFFF;
  static constexpr std::uint16_t kDatCode = 4184;
  static constexpr std::uint16_t kParDatCode = 4188;
  static constexpr std::size_t kSectionCount = 9;

  // The nine sections in file order: their start and end codes.
  struct SectionCodes {
    std::uint16_t start;
    std::uint16_t end;
  };
  static const SectionCodes kSections[kSectionCount];

  VCodaDomain();
  ~VCodaDomain() override;

  void ReadDomain() override;
  void WriteDomain(int listing) override;
  // Sections 2 to 9 (COLE init, EVS calc, EVS MFB, EVS send, EVS trans, LN700 move, MVI move),
  // DAT and PARDAT, then COPM init to VDatabase::Insert; then the object id and the COLO and
  // COPM lengths. 0 when the user cancelled.
  int Backtranslate() override;

  // The writer's access: the header image (header, option count, options), the sections and
  // the two blocks (null: absent).
  VElement& HeaderImage() { return m_headerImage; }
  VDomainSection& Section(std::size_t index) { return m_sections[index]; }
  std::unique_ptr<VElement>& DatBlock() { return m_pDat; }
  std::unique_ptr<VElement>& ParDatBlock() { return m_pParDat; }

 private:
  // Reads the block after the sections if the header's offset field does not say "none".
  void ReadBlock(std::size_t offsetField, std::uint16_t code, std::unique_ptr<VElement>& block);
  void WriteBlock(VElement& block, const char* typeLabel, int listing);

  VElement m_headerImage;
  std::array<VDomainSection, kSectionCount> m_sections;
  std::unique_ptr<VElement> m_pDat;
  std::unique_ptr<VElement> m_pParDat;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VCODADOMAIN_H
