// VCnodDomain: node entries from file searches, their element, the companion file list and
// the check of the node's library files against the object database.
#include "domains/VCnodDomain.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "domains/SectionCodes.h"
#include "domains/SectionRecord.h"
#include "domains/ValueLayout.h"
#include "files/HeaderFormat.h"
#include "morvit/VDomainPath.h"
#include "support/DomainTypes.h"
#include "support/GFileDir.h"
#include "support/HostServices.h"
#include "util/GPath.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VCnodDomain, VDomain)

namespace {

// Payload of a node record.
constexpr std::size_t kEntryKindAt = 24;
constexpr std::size_t kValueAt = 28;
constexpr std::size_t kTextAt = 32;
constexpr std::size_t kTextLimit = 16;
constexpr std::size_t kCarryFlagAt = 49;
constexpr std::size_t kFileNameAt = 52;

constexpr std::uint16_t kCnodFileListType = DomainTypeOf("XC");
// Every entry of a search: files, directories, hidden and system entries.
constexpr unsigned kSearchEverything = 0xB7;
// The description of a library object and text 2490 are cut to these lengths in a message.
constexpr std::size_t kDescriptionLimit = 16;
constexpr std::size_t kMissingTextLimit = 254;

// A node file is kept uncompressed in one file whose common header's 16-bit length counts
// every byte: the headers, "NoEntries", the section's markers and the entry element's block.
constexpr std::uint64_t kMaxEntryElementLength =
    0xFFFF - headerformat::kFirstPartHeaderSize - 2 - kEmptySectionLength - kSectionBlockHeaderSize;

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

bool EndsWith(std::string_view text, std::string_view end, bool ignoreCase) {
  if (text.size() < end.size()) return false;
  const std::string_view tail = text.substr(text.size() - end.size());
  return ignoreCase ? EqualNoCase(tail, end) : tail == end;
}

// The object database's list for a library file's extension; false for other files.
bool LibraryListFor(std::string_view extension, VLibraryList& list) {
  const std::pair<const char*, VLibraryList> lists[] = {
      {"PE_", VLibraryList::kPcLibraries},
      {"DE_", VLibraryList::kDatabaseLibraries},
      {"TE_", VLibraryList::kTargetOptions},
  };
  for (const auto& [name, which] : lists) {
    if (EqualNoCase(extension, name)) {
      list = which;
      return true;
    }
  }
  return false;
}

// Checks one entry against its list; false when a message was written.
bool CheckLibraryEntry(const VNodeEntry& entry, const std::vector<VLibraryObject>& objects) {
  const CString& fileName = entry.GetFileName();
  const std::string_view base = std::string_view(fileName).substr(0, fileName.rfind('.'));
  const auto object = std::find_if(objects.begin(), objects.end(), [&](const VLibraryObject& o) {
    return EqualNoCase(o.name, base);
  });
  const std::int64_t value = entry.GetValue();
  if (object == objects.end()) {
    const CString missing = Host().GetText(kTextLibraryObjectMissing).substr(0, kMissingTextLimit);
    Host().WriteMessage(kMessageLibraryMismatch,
                        {fileName, entry.GetText(), value, missing, std::int64_t{0}});
    return false;
  }
  if (object->version == entry.GetValue()) return true;
  Host().WriteMessage(kMessageLibraryMismatch, {fileName, entry.GetText(), value,
                                                object->description.substr(0, kDescriptionLimit),
                                                std::int64_t{object->version}});
  return false;
}

}  // namespace

namespace {

// The one entry element: an entry per file found, as AppendEntry writes it.
constexpr ValueItem kEntryItems[] = {
    {"kind", ValueEncoding::Cardinal},
    {"file name", ValueEncoding::BString},
    {"value", ValueEncoding::LongCard},
    {"text", ValueEncoding::BString},
};
constexpr ElementValueLayout kEntryValues{{}, kEntryItems};

}  // namespace

VCnodDomain::VCnodDomain(int nodeMode)
    : m_nNodeMode(nodeMode), m_elementSection(kElementStartCode, kElementEndCode) {
  m_nCompressionEnabled = 0;
  m_elementSection.SetElementValues(&kEntryValues);
}

VCnodDomain::~VCnodDomain() = default;

void VCnodDomain::OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) {
  OpenWithFileList(parcel, database, mode, kCnodFileListType);
}

void VCnodDomain::OpenWithFileList(ObjParcelType parcel, VDatabase* database, std::uint16_t mode,
                                   std::uint16_t fileListType) {
  VBaDomain::OpenDomain(parcel, database, mode);
  if (m_nFileListEnabled == 0) return;
  auto fileList = std::make_unique<VXbfiDomain>();
  // A node looked up as the newest of its type is read with the file list of the same version
  // and object, never with the newest file list on its own: a body of another version would
  // recreate wrong contents under the node's names.
  if (parcel.version == VBASE_ANY_WORD || parcel.objectNumber == VBASE_ANY_WORD) {
    VDomainPath().GetVersion(m_file.GetFileName(), parcel.version, parcel.objectNumber);
  }
  parcel.domainType = fileListType;
  fileList->OpenDomain(parcel, nullptr, mode);
  m_pFileList = std::move(fileList);
}

// The node and its file list are one domain to a reader: a file list that cannot be closed
// takes the node, already in place, back out.
void VCnodDomain::CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                              ObjParcelType* parcels) {
  const std::uint16_t firstIndex = parcelCount != nullptr ? *parcelCount : 0;
  VBaDomain::CloseDomain(parcelCount, highestIndex, parcels);
  if (!m_pFileList) return;
  const DiscardFilesOnFailure guard(*this, parcelCount, firstIndex);
  m_pFileList->CloseDomain(parcelCount, highestIndex, parcels);
}

void VCnodDomain::DiscardFiles() {
  m_file.WithdrawFiles();
  if (m_pFileList) m_pFileList->DiscardFiles();
}

void VCnodDomain::RemoveDomain() {
  VBaDomain::RemoveDomain();
  if (m_pFileList) m_pFileList->RemoveDomain();
}

void VCnodDomain::GetName(CString& name) { name = m_strNodeName; }

int VCnodDomain::Backtranslate() { return m_pFileList ? m_pFileList->Backtranslate() : 1; }

void VCnodDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  const std::int32_t searchKinds[] = {record.Field<std::int32_t, 12>(),
                                      record.Field<std::int32_t, 16>(),
                                      record.Field<std::int32_t, 20>()};
  const auto kind = record.Field<std::uint16_t, kEntryKindAt>();
  const auto value = record.Field<std::uint32_t, kValueAt>();
  const std::string_view text = record.TerminatedText<kTextAt, kTextLimit>();
  const bool carry = record.Field<std::uint8_t, kCarryFlagAt>() != 0;
  const CString name = GPath(CString(record.TerminatedText<kFileNameAt>()), 1).GetFileName();
  if (m_pEntryElement == nullptr) {
    m_pEntryElement = &m_elementSection.AppendElement(m_file.GetFileType());
  }
  CString searched;
  int hits = 0;
  for (const std::int32_t searchKind : searchKinds) {
    const CString directory = Host().Directory(searchKind);
    const CString pattern = directory + name;
    // A number that is no directory kind has no directory to search (never the process's
    // current directory).
    hits = directory.empty() ? 0 : SearchFiles(directory, pattern, kind, value, text, carry);
    if (!directory.empty()) searched += (searched.empty() ? "" : " ") + directory;
    if (hits != 0 || !EndsWith(pattern, "TPX", false)) break;
  }
  // A pattern that finds nothing leaves the node without the file: the user hears of it.
  if (hits == 0) Host().WriteMessage(kMessageNoFileMatched, {name, searched});
}

int VCnodDomain::SearchFiles(const CString& directory, const CString& pattern, std::uint16_t kind,
                             std::uint32_t value, std::string_view text, bool carry) {
  GFileDir search;
  CString hit = pattern;
  int hits = 0;
  for (bool found = search.FindFirst(hit, kSearchEverything); found; found = search.FindNext(hit)) {
    AppendEntry(kind, directory, hit, value, text, carry);
    ++hits;
  }
  search.FindClose();
  return hits;
}

void VCnodDomain::AppendEntry(std::uint16_t kind, const CString& directory, const CString& name,
                              std::uint32_t value, std::string_view text, bool carry) {
  AppendToElement(
      *m_pEntryElement,
      [&](VElement& e) {
        m_io.WriteCardinal(e, kind, 0, nullptr);
        m_io.WriteBString(e, static_cast<std::uint16_t>(name.size()), name.data(), 0, nullptr);
        m_io.WriteLongCard(e, value, 0, nullptr);
        m_io.WriteBString(e, static_cast<std::uint16_t>(text.size()), text.data(), 0, nullptr);
      },
      kMaxEntryElementLength);
  if (carry && m_pFileList) m_pFileList->AddFile(directory + name);
  ++m_wEntryCount;
}

void VCnodDomain::WriteDomain(int listing) {
  std::uint64_t length = kEmptySectionLength;
  if (m_pEntryElement != nullptr) {
    length += m_pEntryElement->GetLength() + kSectionBlockHeaderSize;
  }
  m_elementSection.SetLength(static_cast<std::uint16_t>(length));
  WriteDomainHeader(static_cast<std::uint16_t>(length + 2), listing);
  m_io.WriteCardinal(m_file, m_wEntryCount, listing, "NoEntries");
  m_elementSection.Write(m_file, listing);
  if (!m_pFileList) return;
  // A file list that cannot be written leaves no half-written node behind to be read later
  // as a complete one.
  try {
    m_pFileList->WriteDomain(listing);
  } catch (const CFileException&) {
    if (listing == 0) RemoveDomain();
    throw;
  }
}

void VCnodDomain::ReadDomain() {
  ReadDomainHeader();
  m_wEntryCount = m_io.ReadCardinal(m_file);
  m_elementSection.Read(m_file, kElementStartCode, kElementEndCode, 0);
  const auto& elements = m_elementSection.GetElements();
  m_pEntryElement = elements.empty() ? nullptr : elements.front().get();
  if (m_pFileList) m_pFileList->ReadDomain();
  if (m_wEntryCount != 0) {
    // Entries counted in the header but without an element to hold them are a cut domain.
    if (m_pEntryElement == nullptr) {
      AfxThrowFileException(CFileException::endOfFile, -1, m_file.GetFullPath());
    }
    m_pEntryElement->SeekToBegin();
    std::vector<char> buffer(0x10000);  // room for any BString and its terminator
    for (std::uint16_t i = 0; i < m_wEntryCount; ++i) ReadEntry(buffer);
  }
  // The file list's body against the list, now whole: a reader that reads a node reads it all.
  if (m_pFileList) m_pFileList->CheckBody();
}

void VCnodDomain::ReadEntry(std::vector<char>& buffer) {
  VElement& element = *m_pEntryElement;
  std::uint16_t kind = m_io.ReadCardinal(element);
  std::uint16_t length = 0;
  m_io.ReadBString(element, length, buffer.data(), buffer.size());
  const CString name(buffer.data());
  const std::uint32_t value = m_io.ReadLongCard(element);
  m_io.ReadBString(element, length, buffer.data(), buffer.size());
  const CString text(buffer.data());
  if (EndsWith(name, "INI", true)) {
    m_strNodeName = name;
    if (m_nNodeMode != 0) kind = kDirectoryControl;
  }
  m_entries.emplace_back(name, value, text);
  CString directory = Host().Directory(kind);
  if (m_nNodeMode != 0 && kind != kDirectoryControl && kind != kDirectoryTcData) directory.clear();
  if (m_pFileList && kind != 0) m_pFileList->AddStoredFile(directory, name);
}

int VCnodDomain::CheckLibraryVersions() {
  int result = 1;
  std::map<VLibraryList, std::vector<VLibraryObject>> lists;  // each read once per check
  for (const VNodeEntry& entry : m_entries) {
    const CString& fileName = entry.GetFileName();
    const std::size_t dot = fileName.rfind('.');
    VLibraryList list;
    if (dot == CString::npos || !LibraryListFor(std::string_view(fileName).substr(dot + 1), list)) {
      continue;
    }
    auto found = lists.find(list);
    if (found == lists.end()) found = lists.emplace(list, Host().LibraryObjects(list)).first;
    if (!CheckLibraryEntry(entry, found->second)) result = 0;
  }
  return result;
}

}  // namespace morvit
