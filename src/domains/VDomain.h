// VDomain: the base of every domain type. It binds a domain to its file, its common header and
// a big-endian writer, and defines the virtual operations through which the manager, the dump
// and the back-translation runs drive any domain; types override what they need.
#ifndef MORVIT_DOMAINS_VDOMAIN_H
#define MORVIT_DOMAINS_VDOMAIN_H

#include <cstdint>
#include <exception>

#include "files/HeaderFormat.h"
#include "files/VCommonHeader.h"
#include "morvit/VBase.h"
#include "morvit/VDomainFile.h"
#include "morvit/VMotorolaIO.h"
#include "morvit/platform.h"

class VDatabase;

namespace morvit {

// Open modes of OpenDomain. The create bit tells writing from reading.
inline constexpr std::uint16_t kOpenForGeneration = CFile::modeCreate | CFile::modeReadWrite;
inline constexpr std::uint16_t kOpenForReading = CFile::modeRead;

class VDomain : public CObject {
  DECLARE_RUNTIME_CLASS(VDomain)

 public:
  VDomain();
  // Destroys the file object (closing a file still open), the writer and the header; never
  // deletes the file on disk. Only RemoveDomain does.
  ~VDomain() override;
  VDomain(const VDomain&) = delete;
  VDomain& operator=(const VDomain&) = delete;

  // The operations, in the order of the class's table of virtual operations.

  // Reads the body from the open file into the object (base: nothing).
  virtual void ReadDomain();
  // Writes headers and body, or their listing form when `listing` is non-zero (base: nothing).
  virtual void WriteDomain(int listing);
  // Hands the content to the database; 0 means stop, non-zero go on (base: 1).
  virtual int Backtranslate();
  // Reads the header records at the current file position (base: the common header).
  virtual void ReadDomainHeader();
  // Writes the header records with a domain length covering them and `bodyLength`. In listing
  // mode the file first becomes its listing sibling, so the body written after lands there too.
  virtual void WriteDomainHeader(std::uint16_t bodyLength, int listing);
  // Takes over a section record; unknown kinds are ignored (base: nothing).
  virtual void InsertSection(TSectionInfo* section);
  // Attaches the database (may be null) and opens the parcel's file with the mode.
  virtual void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode);
  // Closes the domain's files and appends one parcel per file written, advancing the count.
  virtual void CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                           ObjParcelType* parcels);
  // Closes and deletes the domain's file.
  virtual void RemoveDomain();
  // After a failed finish: removes every file the domain wrote (they still carry their staging
  // names) and any it had already moved into place; never raises.
  virtual void DiscardFiles();
  // Node domains put their name into the string; others leave it unchanged.
  virtual void GetName(CString& name);
  // The domain length that WriteDomain puts into the common header.
  virtual std::uint16_t GetDomainLength();

  VDomainFile& GetFile() { return m_file; }

 protected:
  // The domain's identity and time stamp as the database receives them: the type, scope and
  // version words and the seven time-stamp words of the file's parcel (as a read header filled
  // them).
  ObjId ObjectId() const;
  Era TimeStamp() const;

  VCommonHeader m_commonHeader;
  VMotorolaIO m_io;
  VDomainFile m_file;
  VDatabase* m_pDatabase = nullptr;  // not owned; null during generation and dump
  // Left unset by the base: a type that answers GetDomainLength from it sets it itself.
  std::uint16_t m_wDomainLength = 0;
  // The largest domain file before padding, headers included.
  std::uint32_t m_lMaxPartSize = headerformat::kMaximumPartSize;
};

// Takes the files a domain has written back out when the step it guards ends by an exception,
// so that a failed open, write or close leaves nothing of the domain behind; a parcel count
// given is set back to `countOnFailure` then. The exception goes on to the caller.
class DiscardFilesOnFailure {
 public:
  explicit DiscardFilesOnFailure(VDomain& domain, std::uint16_t* parcelCount = nullptr,
                                 std::uint16_t countOnFailure = 0)
      : m_domain(domain),
        m_parcelCount(parcelCount),
        m_countOnFailure(countOnFailure),
        m_exceptions(std::uncaught_exceptions()) {}
  ~DiscardFilesOnFailure() {
    if (std::uncaught_exceptions() <= m_exceptions) return;
    if (m_parcelCount != nullptr) *m_parcelCount = m_countOnFailure;
    m_domain.DiscardFiles();
  }
  DiscardFilesOnFailure(const DiscardFilesOnFailure&) = delete;
  DiscardFilesOnFailure& operator=(const DiscardFilesOnFailure&) = delete;

 private:
  VDomain& m_domain;
  std::uint16_t* m_parcelCount;
  std::uint16_t m_countOnFailure;
  int m_exceptions;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VDOMAIN_H
