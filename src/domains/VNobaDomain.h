// VNobaDomain: the NOBA domain (type 3), one element of length-prefixed texts that the tool
// inserts one at a time, in a block-addressed domain that is compressed and split on closing.
#ifndef MORVIT_DOMAINS_VNOBADOMAIN_H
#define MORVIT_DOMAINS_VNOBADOMAIN_H

#include "domains/VBaDomain.h"
#include "domains/VDomainSection.h"

class VElement;

namespace morvit {

class VNobaDomain : public VBaDomain {
  DECLARE_RUNTIME_CLASS(VNobaDomain)

 public:
  VNobaDomain();
  ~VNobaDomain() override;

  void ReadDomain() override;
  void WriteDomain(int listing) override;
  int Backtranslate() override;
  // Appends one text: its length (16-bit) at 8, the address of its characters at 12. The
  // record's kind is not looked at.
  void InsertSection(TSectionInfo* section) override;

 private:
  VDomainSection m_textSection;
  VElement* m_pTextElement = nullptr;  // owned by m_textSection
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VNOBADOMAIN_H
