// The domain interface: the virtual operations through which the manager, the dump and the
// back-translation runs drive every domain type, with the base class's defaults.
#ifndef MORVIT_DOMAINS_VDOMAIN_H
#define MORVIT_DOMAINS_VDOMAIN_H

#include <cstdint>

#include "morvit/VBase.h"
#include "morvit/platform.h"

class VDatabase;

// Open modes of OpenDomain.
inline constexpr std::uint16_t kOpenForGeneration = CFile::modeCreate | CFile::modeReadWrite;
inline constexpr std::uint16_t kOpenForReading = CFile::modeRead;

class VDomain : public CObject {
  DECLARE_RUNTIME_CLASS(VDomain)

 public:
  VDomain();
  // Destroying a domain never deletes its file on disk; only RemoveDomain does.
  ~VDomain() override;

  // The operations, in the order of the class's table of virtual operations.
  virtual void ReadDomain();
  virtual void WriteDomain(int listing);
  // 0 means stop (cancelled or the database asked to stop), non-zero go on.
  virtual int Backtranslate();
  virtual void ReadDomainHeader();
  virtual void WriteDomainHeader(std::uint16_t bodyLength, int listing);
  // Unknown kinds are ignored.
  virtual void InsertSection(TSectionInfo* section);
  virtual void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode);
  // Closes the domain's files and appends one parcel per file written, advancing the count.
  virtual void CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                           ObjParcelType* parcels);
  virtual void RemoveDomain();
  // Node domains put their name into the string; others leave it unchanged.
  virtual void GetName(CString& name);
  virtual std::uint16_t GetDomainLength();

 protected:
  VDatabase* m_pDatabase = nullptr;
  std::uint16_t m_wDomainLength = 0;
};

#endif  // MORVIT_DOMAINS_VDOMAIN_H
