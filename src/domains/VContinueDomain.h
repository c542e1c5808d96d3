// VContinueDomain: a block-addressed domain of many small records, its elements, spread
// uncompressed over as many continuation files as needed, each at most the maximum part size,
// and read back across those files. An element is never split between files.
#ifndef MORVIT_DOMAINS_VCONTINUEDOMAIN_H
#define MORVIT_DOMAINS_VCONTINUEDOMAIN_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "domains/VBaDomain.h"

namespace morvit {

class VContinueDomain : public VBaDomain {
  DECLARE_RUNTIME_CLASS(VContinueDomain)

 public:
  // One planned file: its number (0 for the first), its bytes (headers plus elements) and the
  // last element that goes into it (null for a part that holds none).
  struct PartEntry {
    std::uint16_t number;
    std::uint32_t byteCount;
    const void* lastElement;
  };
  // A cursor over the elements, kept by whoever holds them.
  using ElementPosition = std::size_t;

  VContinueDomain();
  ~VContinueDomain() override;

  // Rewinds and inserts every element that ReadElement yields, through InsertSection.
  void ReadDomain() override;
  // Plans the parts, then writes each part's headers followed by its elements.
  void WriteDomain(int listing) override;

  // The operations added here, in the order of the class's table of virtual operations.

  // Common and compress header, plus the structure header for the first part file.
  virtual void GetHeaderSize(int part, std::uint16_t* size);
  // Moves to the part's file (parts after the first) and writes its headers.
  virtual void WritePartHeader(const PartEntry* part, int listing);
  // Spreads the elements over parts of at most the maximum part size; returns 0.
  virtual int PlanParts();
  // Writes one element (base: nothing).
  virtual void WriteElement(const void* element, int listing);
  // The first and the next element of the element list, or null at its end.
  virtual const void* GetFirstElement(ElementPosition* position);
  virtual const void* GetNextElement(ElementPosition* position);
  // The element's size in the file.
  virtual std::uint16_t GetElementSize(const void* element) = 0;
  // Positions the file at the next element, moving on to the next continuation file at the
  // end of a part; returns 0 after the last part. Subclasses read the element into `buffer`.
  virtual int ReadElement(void* buffer);

  const std::vector<PartEntry>& GetParts() const { return m_parts; }

 protected:
  // Appends an element record of `size` zeroed bytes to the element list and returns it.
  std::uint8_t* AppendElement(std::size_t size);

  std::vector<PartEntry> m_parts;
  std::vector<std::unique_ptr<std::uint8_t[]>> m_elements;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VCONTINUEDOMAIN_H
