// VHeaderRecord: the base of the fixed header records that open domain files. Each record
// knows its size in the file, reads itself from a domain file and writes itself as data or
// as listing lines.
#ifndef MORVIT_FILES_VHEADERRECORD_H
#define MORVIT_FILES_VHEADERRECORD_H

#include <cstdint>

#include "morvit/VDomainFile.h"
#include "morvit/VElement.h"

namespace morvit {

class VHeaderRecord : public VElement {
 public:
  // The memory-file Read and Write stay reachable beside the record's own.
  using VElement::Read;
  using VElement::Write;

  // The record's size in the file, in bytes.
  virtual std::uint16_t GetSize() const = 0;
  // Decodes the fields from the record's own bytes, from the current position on.
  virtual void Parse();
  // Copies GetSize() bytes from the file's current position into the record's own bytes,
  // then parses them. A file that ends early raises end-of-file, fields unchanged.
  virtual void Read(VDomainFile& file);
  // Writes the fields to the file: data, or listing lines when `listing` is set.
  virtual void Write(VDomainFile& file, int listing);
};

}  // namespace morvit

#endif  // MORVIT_FILES_VHEADERRECORD_H
