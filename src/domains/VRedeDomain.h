// VRedeDomain: the REDE domain (type 33), the resource description of a PC program: a 66-byte
// resource header and the resource-initialisation section. The PC program back-translation
// reads it once for its version and once to hand its header to the database.
#ifndef MORVIT_DOMAINS_VREDEDOMAIN_H
#define MORVIT_DOMAINS_VREDEDOMAIN_H

#include <cstdint>

#include "domains/VDomain.h"
#include "domains/VDomainSection.h"
#include "morvit/VElement.h"
#include "morvit/VProgramWriters.h"
#include "support/DomainTypes.h"

namespace morvit {

class VRedeDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VRedeDomain)

 public:
  // Domain type and element code.
  static constexpr std::uint16_t kType = DomainTypeOf("RD");

  VRedeDomain();
  ~VRedeDomain() override;

  // The common header, the 66 header bytes unchanged, then the initialisation section.
  void ReadDomain() override;
  // The common header, the header fields with their labels, the section.
  void WriteDomain(int listing) override;
  // Progress 10, the cancel query, Insert of the header, progress 90, SetObjectId, progress
  // 100, SetPCProgNo with the parcel's object number; 0 when the user cancelled. The
  // initialisation section is not handed over.
  int Backtranslate() override;

  // Fills the header and the section from a writer's content.
  void SetContent(const VRedeContent& content);

 private:
  VElement m_resourceHeader;
  VDomainSection m_initSection;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VREDEDOMAIN_H
