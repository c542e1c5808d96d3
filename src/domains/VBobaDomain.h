// VBobaDomain: the BOBA domains (types 116, 117, 118), one element per object: its number,
// three values and a list of typed terminal values, in a block-addressed domain that is
// compressed and split on closing like every other.
#ifndef MORVIT_DOMAINS_VBOBADOMAIN_H
#define MORVIT_DOMAINS_VBOBADOMAIN_H

#include <cstdint>
#include <unordered_map>

#include "domains/VBaDomain.h"
#include "domains/VDomainSection.h"

class VElement;

namespace morvit {

class SectionRecord;

class VBobaDomain : public VBaDomain {
  DECLARE_RUNTIME_CLASS(VBobaDomain)

 public:
  VBobaDomain();
  ~VBobaDomain() override;

  void ReadDomain() override;
  void WriteDomain(int listing) override;
  // Every element, in file order, with the code 0xFFFF; the progress text is the file name
  // upper-cased with its last X made a C.
  int Backtranslate() override;
  // Kind 3 creates an object's element (a second one for the same object is ignored), kind 4
  // appends a terminal value to the element of its object (ignored without one).
  void InsertSection(TSectionInfo* section) override;

 private:
  void InsertObject(const SectionRecord& record);
  void InsertTerminal(const SectionRecord& record);

  std::unordered_map<std::uint16_t, VElement*> m_mapObjects;  // object number -> element
  VDomainSection m_elementSection;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VBOBADOMAIN_H
