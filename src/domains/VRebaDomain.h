// VRebaDomain: the REBA domain (type 46), a resource's keyed element entries, each growing by
// further records, and its page breaks, in a block-addressed domain that is compressed and
// split into as many files as it needs on closing. VPobaDomain shares all but the splitting.
#ifndef MORVIT_DOMAINS_VREBADOMAIN_H
#define MORVIT_DOMAINS_VREBADOMAIN_H

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "domains/VBaDomain.h"
#include "domains/VDomainSection.h"

class VElement;

namespace morvit {

class SectionRecord;

class VRebaDomain : public VBaDomain {
  DECLARE_RUNTIME_CLASS(VRebaDomain)

 public:
  VRebaDomain();
  ~VRebaDomain() override;

  void ReadDomain() override;
  void WriteDomain(int listing) override;
  int Backtranslate() override;
  // Kind 5 starts an element entry, kind 7 adds to one, kind 6 is a page break; other kinds,
  // a second entry under a key and additions to a key without an entry are ignored.
  void InsertSection(TSectionInfo* section) override;

 private:
  void InsertEntry(const SectionRecord& record);
  void InsertPageBreak(const SectionRecord& record);
  void InsertAddition(const SectionRecord& record);
  // Appends a text as a BString (16-bit length, characters, pad to an even position).
  void WriteText(VElement& element, std::string_view text);

  std::unordered_map<std::uint16_t, VElement*> m_mapEntries;  // key -> entry; not owned
  VDomainSection m_elementSection;
  VDomainSection m_pageBreakSection;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VREBADOMAIN_H
