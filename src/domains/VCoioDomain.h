// VCoioDomain: the COIO domain (type 26), a node's hardware-initialisation code for its I/O bus
// with the net start and bus number it belongs to. Written by other tools; read here and
// handed to the database during database back-translation.
#ifndef MORVIT_DOMAINS_VCOIODOMAIN_H
#define MORVIT_DOMAINS_VCOIODOMAIN_H

#include <cstdint>

#include "domains/FieldLayout.h"
#include "domains/VDomain.h"
#include "domains/VDomainSection.h"
#include "morvit/VElement.h"

namespace morvit {

class VCoioDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VCoioDomain)

 public:
  // Fixed header, 4 bytes: net start, bus number.
  static const FieldSpec kHeader[2];
  static constexpr std::uint16_t kHwInitStartCode = 848;
  static constexpr std::uint16_t kHwInitEndCode = 852;

  VCoioDomain();
  ~VCoioDomain() override;

  void ReadDomain() override;
  void WriteDomain(int listing) override;
  // Every hardware-init element to VDatabase::Insert with code 848, with progress but no cancel
  // query: this domain's back-translation cannot be cancelled. Always non-zero.
  int Backtranslate() override;

  // The writer's access: the header image and the section.
  VElement& HeaderImage() { return m_headerImage; }
  VDomainSection& HwInitSection() { return m_hwInitSection; }

 private:
  VElement m_headerImage;
  VDomainSection m_hwInitSection;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VCOIODOMAIN_H
