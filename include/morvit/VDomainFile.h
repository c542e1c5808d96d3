// VDomainFile: the file under a domain. It knows its parcel, finds its path, switches to the
// domain's sibling files, runs a domain over continuation files and records every file it
// closes so that the caller learns one parcel per file written.
#ifndef MORVIT_VDOMAINFILE_H
#define MORVIT_VDOMAINFILE_H

#include <cstdint>
#include <vector>

#include "morvit/VBase.h"
#include "morvit/VMotorolaIO.h"
#include "morvit/platform.h"

class MORVIT_API VDomainFile : public CFile {
 public:
  // Sibling files of a domain, told apart by the first letter of the extension. Any other
  // value names no sibling: GetPath leaves the path as it is.
  enum FILETYPE : int {
    fileDomain = 1,      // 'C': the ordinary domain file
    fileListing = 2,     // 'D': the listing written in listing mode
    fileCompressed = 3,  // 'Z': the compressed stream while it is split or joined
    fileExpanded = 4,    // 'X': the expanded copy of a compressed domain
  };

  VDomainFile();
  ~VDomainFile() override;

  // Full path of the file now open (or last opened).
  const CString& GetFullPath() const { return m_strPath; }
  // The file name part of the path (after the last separator).
  CString GetFileName() const;
  // The parcel's domain type.
  std::uint16_t GetFileType() const { return m_parcel.domainType; }
  // The path with the first extension letter of the file name replaced by the type's letter.
  CString GetPath(FILETYPE type) const;

  ObjParcelType& GetParcel() { return m_parcel; }
  const ObjParcelType& GetParcel() const { return m_parcel; }

  // Opens an existing file by name for reading and writing.
  virtual void OpenDomain(const CString& name);
  // Opens the parcel's file (resolved by VDomainPath) with the given open flags, binary.
  virtual void OpenDomain(const ObjParcelType& parcel, std::uint16_t mode);
  // Opens a file by name for reading and writing, creating or truncating it.
  virtual void OpenCreateDomain(const CString& name);
  // Closes the file and creates the sibling of the given type in its place (truncating
  // it); the listing offset starts again at 0. File-not-found if it cannot be opened.
  virtual void Reopen(FILETYPE type);
  // Closes and deletes the file, if it is the sibling of the given type; failures are
  // swallowed.
  virtual void RemoveDomain(FILETYPE type);
  // Closes and deletes the file; a failure to delete is raised.
  virtual void RemoveDomain();
  // Records the file (continuation number and length modulo 65536), pads it with zeros to a
  // multiple of 1024 bytes if `pad` is set, and closes it.
  virtual void Close(int pad);
  // The plain close: no record, no padding.
  using CFile::Close;

  // Closes the current file padded and opens the next continuation file for writing (and
  // its listing sibling when `listing` is set).
  void OpenContinuationDomainWrite(int listing);
  // Closes the current file and opens the next continuation file for reading.
  void OpenContinuationDomainRead();
  // Closes the file padded and appends one parcel per file closed to `parcels`, at index
  // `*parcelCount` onwards, while the count does not pass `highestIndex`; one more raises the
  // generic cause with the entries copied so far in place and counted.
  void CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex, ObjParcelType* parcels);
  // Closes the file and removes every file of a failed generation that this object created
  // (they all still carry their staging names) with the compressed sibling; never raises.
  void DiscardWrittenFiles();
  // The same, and also removes the files that CloseDomain has already moved into place: a
  // domain file whose companion file failed is withdrawn; never raises.
  void WithdrawFiles();

  // Compresses (method 2: implode) or moves the file to its compressed sibling, and expands
  // (or moves) it to its expanded sibling; the object then refers to the new file.
  void Compress(std::uint16_t method);
  void Uncompress(std::uint16_t method);

 protected:
  // What Close records of each file.
  struct ClosedFile {
    std::uint16_t scope;
    std::uint16_t length;
    CString path;
  };

  ObjParcelType m_parcel{};
  CString m_strPath;
  VMotorolaIO m_io;
  std::vector<ClosedFile> m_closedFiles;
  bool m_bFilesInPlace = false;  // CloseDomain has moved the closed files into place
};

#endif  // MORVIT_VDOMAINFILE_H
