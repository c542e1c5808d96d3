// VTadeDomain: the TADE domain (type 49), the description of one task of a PC program: a
// 24-byte body of twelve cardinals behind the common header, read during the PC program
// back-translation and handed to the database as one element.
#ifndef MORVIT_DOMAINS_VTADEDOMAIN_H
#define MORVIT_DOMAINS_VTADEDOMAIN_H

#include <cstdint>

#include "domains/VDomain.h"
#include "morvit/VElement.h"
#include "morvit/VProgramWriters.h"
#include "support/DomainTypes.h"

namespace morvit {

class VTadeDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VTadeDomain)

 public:
  // Domain type and element code.
  static constexpr std::uint16_t kType = DomainTypeOf("TD");

  VTadeDomain();
  ~VTadeDomain() override;

  // The common header, then the 24 body bytes unchanged (end of file if the file is shorter).
  void ReadDomain() override;
  // The common header, then the twelve cardinals with their labels.
  void WriteDomain(int listing) override;
  // Progress 10, the cancel query, Insert, progress 90, SetObjectId, progress 100,
  // SaveExecPitch; 0 when the user cancelled (nothing handed over then).
  int Backtranslate() override;
  // Always the body length, 24.
  std::uint16_t GetDomainLength() override;

  // Fills the body from a writer's content.
  void SetContent(const VTadeContent& content);

 private:
  VElement m_taskElement;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VTADEDOMAIN_H
