// VHeaderRecord: reading a header record into its own bytes, then decoding them.
#include "files/VHeaderRecord.h"

namespace morvit {

void VHeaderRecord::Parse() {}

void VHeaderRecord::Read(VDomainFile& file) {
  SeekToBegin();
  m_io.CopyBytes(file, *this, GetSize(), 0);
  SeekToBegin();
  Parse();
}

void VHeaderRecord::Write(VDomainFile&, int) {}

}  // namespace morvit
