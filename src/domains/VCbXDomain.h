// VCbXDomain: the decoder-table domains. Element descriptions of a node's data items (name,
// enumeration texts, places of its values in COLO, COLE, COPM and CODA), kept in byte order of
// their names and spread over continuation files behind a decoder table that describes every
// element type of the domain's range. VCbDDomain (type 114) holds the DAT types, VCbPDomain
// (type 115) the PARDAT types and takes offset shifts for the CODA area.
#ifndef MORVIT_DOMAINS_VCBXDOMAIN_H
#define MORVIT_DOMAINS_VCBXDOMAIN_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "domains/VContinueDomain.h"
#include "files/VDecoderHeader.h"

namespace morvit {

class VCbXDomain : public VContinueDomain {
  DECLARE_RUNTIME_CLASS(VCbXDomain)

 public:
  // Record kinds: 0 an element description (a TCbxElement from byte 8 on).
  static constexpr std::int32_t kKindElement = 0;
  // "OffsetToDescription" of a domain without elements.
  static constexpr std::uint16_t kNoDescription = 0xFFFF;

  VCbXDomain();
  ~VCbXDomain() override;

  // Every element description to VDatabase::Update with its element type's name, with
  // progress by file position. 0 when the user cancelled.
  int Backtranslate() override;
  // Kind 0 files an element description under its name. A description that would corrupt the
  // domain (an element type outside the domain's range, a name longer than 20 characters, an
  // enumeration text without its terminating zero) is refused with the generic file exception.
  void InsertSection(TSectionInfo* section) override;

  void GetHeaderSize(int part, std::uint16_t* size) override;
  // The first part file adds the decoder header and the decoder table.
  void WritePartHeader(const PartEntry* part, int listing) override;
  void WriteElement(const void* element, int listing) override;
  const void* GetFirstElement(ElementPosition* position) override;
  const void* GetNextElement(ElementPosition* position) override;
  std::uint16_t GetElementSize(const void* element) override;
  // Reads the next element description into the TSectionInfo at `buffer` (kind 0, the
  // description from byte 8). A description that does not fit its record (an element type
  // outside the domain's range, a name or text longer than 20 characters) is damage: end of
  // file.
  int ReadElement(void* buffer) override;

  // The element type indexes of the domain: first to end - 1.
  virtual void GetTypeRange(std::size_t* first, std::size_t* end) const = 0;

  std::size_t GetElementCount() const { return m_mapElements.size(); }

 protected:
  bool InRange(std::int32_t typeIndex) const;
  // Applies `change` to every element description filed.
  template <typename Change>
  void ForEachElement(Change&& change) {
    for (auto& [name, element] : m_mapElements) change(element);
  }

 private:
  void WriteDecoderTable(int listing);
  void ReadAddressFields(TCbxElement& element);

  // By the first 20 bytes of the name (up to its zero), compared byte by byte; descriptions of
  // equal names are all kept, in the order they came.
  std::multimap<std::string, TCbxElement> m_mapElements;
  // The descriptions in order, while the domain is written.
  std::vector<const TCbxElement*> m_walk;
  VDecoderHeader m_decoderHeader;
};

class VCbDDomain : public VCbXDomain {
  DECLARE_RUNTIME_CLASS(VCbDDomain)

 public:
  void GetTypeRange(std::size_t* first, std::size_t* end) const override;
};

class VCbPDomain : public VCbXDomain {
  DECLARE_RUNTIME_CLASS(VCbPDomain)

 public:
  // Kind 2: two shifts added to the CODA byte offset of the descriptions already filed.
  static constexpr std::int32_t kKindShift = 2;

  void InsertSection(TSectionInfo* section) override;
  void GetTypeRange(std::size_t* first, std::size_t* end) const override;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VCBXDOMAIN_H
