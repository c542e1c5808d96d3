// VXbfiDomain: the XBFI domain (types 119 and 120), which carries whole host files of a node
// inside a block-addressed domain: written from its file list, recreated from it on
// back-translation. It never stands alone: a node domain owns it and fills its file list.
//
// Body, after the common, compress and structure headers, for each file of the list in order:
// its length (long integer) and its bytes unchanged. There is no count and no name: a reader
// needs the same list, in the same order, from the node domain.
#ifndef MORVIT_DOMAINS_VXBFIDOMAIN_H
#define MORVIT_DOMAINS_VXBFIDOMAIN_H

#include <vector>

#include "domains/VBaDomain.h"
#include "domains/VDomainSection.h"

namespace morvit {

class VXbfiDomain : public VBaDomain {
  DECLARE_RUNTIME_CLASS(VXbfiDomain)

 public:
  VXbfiDomain();
  ~VXbfiDomain() override;

  // Appends a file to the list: a full path (empty: the file is skipped on back-translation).
  void AddFile(CString path);
  // Appends a file named in a stored node domain: `name` in `directory` (which ends in a
  // separator, or is empty for the current directory). A name that is not a plain file name (a
  // separator, a drive, "." or "..", or empty) could reach outside the directory: it stays in
  // the list, in step with the body, but back-translation refuses it.
  void AddStoredFile(const CString& directory, const CString& name);

  // Only the headers: the body is consumed by Backtranslate.
  void ReadDomain() override;
  // Walks the body against the list, as Backtranslate reads it but writing nothing, and comes
  // back to the body's start: a size that runs past the domain's end raises end-of-file.
  void CheckBody();
  // The headers, then in data mode every file of the list. A file that cannot be opened fails
  // the write (a file left out would shift every later file against the list).
  void WriteDomain(int listing) override;
  // Recreates the files of the list in order, creating missing directory levels; returns 1.
  // A size that runs past the domain's end raises end-of-file and a refused name bad path,
  // before anything is written for that file; files recreated before stay.
  int Backtranslate() override;
  // A flag byte at 49, a text length (16-bit) at 50 and the text at 52: with the flag set the
  // text is added as a path. The record's kind is not looked at.
  void InsertSection(TSectionInfo* section) override;

  // The full paths of the list, in order (a refused name as its directory and name).
  std::vector<CString> GetFileList() const;

 private:
  struct ListedFile {
    CString path;
    bool refused;  // a stored name that back-translation must not write
  };

  void RecreateFile(const ListedFile& file);
  // The next body entry's size, checked against the bytes left in the domain.
  std::int32_t ReadFileSize();

  VDomainSection m_section;
  std::vector<ListedFile> m_files;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VXBFIDOMAIN_H
