// VCnodDomain: the node domain of a controller node (CNOD, type 1). It lists every file of the
// node (directory kind, file name, version value, short text) and owns the companion XBFI
// domain (type 119) that carries the files themselves; both are opened, written, closed, read
// and back-translated together. Node domains are never compressed or split.
//
// Body, after the common, compress and structure headers: "NoEntries" (cardinal), then the
// section 4240 ... 4244 with one element holding every entry as directory kind (cardinal),
// file name (BString), value (long cardinal) and text (BString).
#ifndef MORVIT_DOMAINS_VCNODDOMAIN_H
#define MORVIT_DOMAINS_VCNODDOMAIN_H

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "domains/VBaDomain.h"
#include "domains/VDomainSection.h"
#include "domains/VXbfiDomain.h"

namespace morvit {

// One file of a node as read from its domain.
class VNodeEntry : public CObject {
 public:
  VNodeEntry(CString fileName, std::uint32_t value, CString text)
      : m_strFileName(std::move(fileName)), m_lValue(value), m_strText(std::move(text)) {}

  const CString& GetFileName() const { return m_strFileName; }
  std::uint32_t GetValue() const { return m_lValue; }
  const CString& GetText() const { return m_strText; }

 private:
  CString m_strFileName;
  std::uint32_t m_lValue;
  CString m_strText;
};

class VCnodDomain : public VBaDomain {
  DECLARE_RUNTIME_CLASS(VCnodDomain)

 public:
  // `nodeMode` selects the reduced directory handling of ReadDomain.
  explicit VCnodDomain(int nodeMode);
  ~VCnodDomain() override;

  // The entries, then the file list's domain (which lists only its headers).
  void ReadDomain() override;
  void WriteDomain(int listing) override;
  // The file list's back-translation (the files are recreated); 1 without one.
  int Backtranslate() override;
  // Three directory kinds (32-bit) at 12, 16, 20; the entry's kind (16-bit) at 24; the value
  // (32-bit) at 28; the text (at most 16 characters) at 32; the carry flag at 49; the file name
  // or pattern at 52. Every file the pattern finds becomes an entry (and, with the flag, a
  // file of the file list). The record's kind is not looked at.
  void InsertSection(TSectionInfo* section) override;
  // The node domain's, then (with the companion flag) the file list's, of type 119.
  void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) override;
  // The node's parcel first, then the file list's parts.
  void CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                   ObjParcelType* parcels) override;
  // Removes the file list's file too: it belongs to the unfinished node.
  void RemoveDomain() override;
  void DiscardFiles() override;
  // The file name of the node's initialisation file ("...INI"), as read.
  void GetName(CString& name) override;

  // 1 when every library file of the node ("PE_", "DE_", "TE_") has an object of its name and
  // version in the object database; otherwise 0, with message 2455 written for every mismatch.
  virtual int CheckLibraryVersions();

  // Whether OpenDomain creates the companion file list (on at construction).
  void SetFileListEnabled(int enabled) { m_nFileListEnabled = enabled; }
  const std::vector<VNodeEntry>& GetEntries() const { return m_entries; }
  VXbfiDomain* GetFileList() const { return m_pFileList.get(); }

 protected:
  void OpenWithFileList(ObjParcelType parcel, VDatabase* database, std::uint16_t mode,
                        std::uint16_t fileListType);

  int m_nNodeMode;

 private:
  // Appends one entry for a file found in `directory`, and hands the file to the file list
  // when `carry` is set.
  void AppendEntry(std::uint16_t kind, const CString& directory, const CString& name,
                   std::uint32_t value, std::string_view text, bool carry);
  // Searches `pattern` (mask 0xB7) and appends an entry per hit; returns the number of hits.
  int SearchFiles(const CString& directory, const CString& pattern, std::uint16_t kind,
                  std::uint32_t value, std::string_view text, bool carry);
  void ReadEntry(std::vector<char>& buffer);

  std::vector<VNodeEntry> m_entries;
  std::uint16_t m_wEntryCount = 0;
  std::unique_ptr<VXbfiDomain> m_pFileList;
  VDomainSection m_elementSection;
  VElement* m_pEntryElement = nullptr;  // owned by m_elementSection
  CString m_strNodeName;
  int m_nFileListEnabled = 1;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VCNODDOMAIN_H
