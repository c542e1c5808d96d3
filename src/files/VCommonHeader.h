// VCommonHeader: the 14-byte header that opens every domain file. Its fields other than the
// domain length live in the domain file's parcel, which Read fills and Write takes them from.
#ifndef MORVIT_FILES_VCOMMONHEADER_H
#define MORVIT_FILES_VCOMMONHEADER_H

#include <cstdint>

#include "files/VHeaderRecord.h"

namespace morvit {

class VCommonHeader : public VHeaderRecord {
 public:
  std::uint16_t GetSize() const override;
  // Reads the fields straight from the file into the record and the file's parcel; the
  // time stamp's year is kept as two digits.
  void Read(VDomainFile& file) override;
  // Writes the listing head (listing mode only), then the fields.
  void Write(VDomainFile& file, int listing) override;

  // The whole file part: this header, the further header records and the body. The file
  // holds it less 1 ("OffsetToLastByte").
  std::uint16_t m_wDomainLength = 0;
};

}  // namespace morvit

#endif  // MORVIT_FILES_VCOMMONHEADER_H
