// VDomainFile: opening domain files by name and by parcel, sibling and continuation files,
// padded closing and the per-file records that become the caller's parcels.
#include "morvit/VDomainFile.h"

#include <array>

#include "files/HeaderFormat.h"
#include "files/StagedFiles.h"
#include "files/StorageFailure.h"
#include "io/ListingEvents.h"
#include "morvit/VDomainPath.h"

using namespace morvit;

namespace morvit {
namespace {

constexpr unsigned kOpenExisting = CFile::modeReadWrite | CFile::typeBinary;
constexpr unsigned kOpenCreate = CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary;
constexpr std::uint16_t kCreateReadWrite = CFile::modeCreate | CFile::modeReadWrite;
constexpr std::uint16_t kReadOnly = CFile::modeRead;

// The extension letter of each sibling file type; 0 for a type without one.
char SiblingLetter(VDomainFile::FILETYPE type) {
  switch (type) {
    case VDomainFile::fileDomain:
      return 'C';
    case VDomainFile::fileListing:
      return 'D';
    case VDomainFile::fileCompressed:
      return 'Z';
    case VDomainFile::fileExpanded:
      return 'X';
  }
  return 0;
}

// Where the file name starts in a host path ('/' separators, '\' accepted).
std::size_t FileNameStart(const CString& path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == CString::npos ? 0 : separator + 1;
}

void OpenOrThrow(CFile& file, const CString& path, unsigned flags) {
  CFileException error;
  if (!file.Open(path, flags, &error)) AfxThrowFileException(error.m_cause, OpenError(error), path);
}

}  // namespace
}  // namespace morvit

VDomainFile::VDomainFile() = default;

VDomainFile::~VDomainFile() = default;

// A file being generated carries its data-set name, not its staging name.
CString VDomainFile::GetFileName() const {
  const CString path = staging::FinalPath(m_strPath);
  return path.substr(FileNameStart(path));
}

// The letter replaced is the first one after the last '.' of the file name, or the file
// name's first character when it has no '.'. Only the file name is looked at: a '.' or a
// leading character in a directory name must never be changed into a sibling's letter. A
// name ending in '.' gets the letter appended; a path without a file name stays unchanged.
CString VDomainFile::GetPath(FILETYPE type) const {
  const char letter = SiblingLetter(type);
  const std::size_t nameStart = FileNameStart(m_strPath);
  if (letter == 0 || nameStart == m_strPath.size()) return m_strPath;
  const std::size_t dot = m_strPath.find_last_of('.');
  const std::size_t at = (dot == CString::npos || dot < nameStart) ? nameStart : dot + 1;
  CString path = m_strPath;
  if (at == path.size()) {
    path += letter;
  } else {
    path[at] = letter;
  }
  return path;
}

void VDomainFile::OpenDomain(const CString& name) {
  m_strPath = name;
  OpenOrThrow(*this, m_strPath, kOpenExisting);
}

// A file created for a parcel is a domain file being generated: it is written under its
// staging name until CloseDomain (or the split of a compressed domain) moves it into place.
void VDomainFile::OpenDomain(const ObjParcelType& parcel, std::uint16_t mode) {
  m_parcel = parcel;
  m_strPath = VDomainPath().FindFile(m_parcel);
  if ((mode & modeCreate) != 0) {
    // What a killed generation of this file left goes before a new one is staged.
    staging::RemoveStale(m_strPath);
    staging::RemoveStale(GetPath(fileCompressed));
    m_strPath = staging::StagingPath(m_strPath);
  }
  OpenOrThrow(*this, m_strPath, mode | typeBinary);
}

void VDomainFile::OpenCreateDomain(const CString& name) {
  m_strPath = name;
  OpenOrThrow(*this, m_strPath, kOpenCreate);
}

// A staged file left for its sibling was never completed: it goes.
void VDomainFile::Reopen(FILETYPE type) {
  // A listing begins: the file listed is the one open now (an expanded copy for a compressed
  // domain), named as the domain file.
  if (type == fileListing) {
    const std::uint64_t size = IsOpen() ? static_cast<std::uint64_t>(GetLength()) : 0;
    const CString listed = GetPath(fileDomain);
    events::FileBegins(std::string_view(listed).substr(listed.rfind('/') + 1), size);
  }
  CFile::Close();
  const CString left = m_strPath;
  m_strPath = GetPath(type);
  if (staging::IsStaged(left) && left != m_strPath) staging::Discard({left});
  CFileException error;
  if (!Open(m_strPath, kCreateReadWrite, &error)) {
    AfxThrowFileException(CFileException::fileNotFound, OpenError(error), m_strPath);
  }
  m_io.Reset();
}

void VDomainFile::RemoveDomain() {
  // The file is about to go: a failure to write back its last bytes does not matter.
  Abort();
  CFile::Remove(m_strPath);
}

// Only the named siblings are removed: a type without a letter would match the path as it
// stands, whatever file that is.
void VDomainFile::RemoveDomain(FILETYPE type) {
  if (m_strPath.empty() || SiblingLetter(type) == 0 || m_strPath != GetPath(type)) return;
  try {
    RemoveDomain();
  } catch (const CFileException&) {
    // Removing a sibling is tidying up; a sibling that cannot go stays behind.
  }
}

// A file that is not open has nothing to record, pad or close. A file being generated reaches
// stable storage before it is closed, so that the parcel reported for it stands for data that
// a crash cannot take back.
void VDomainFile::Close(int pad) {
  if (!IsOpen()) return;
  const std::uint64_t length = static_cast<std::uint64_t>(SeekToEnd());
  m_closedFiles.push_back({m_parcel.scope, static_cast<std::uint16_t>(length), m_strPath});
  const std::uint64_t partial = length % headerformat::kPaddingUnit;
  if (pad != 0 && partial != 0) {
    static constexpr std::array<std::uint8_t, headerformat::kPaddingUnit> kZeros{};
    Write(kZeros.data(), static_cast<unsigned>(headerformat::kPaddingUnit - partial));
  }
  if (staging::IsStaged(m_strPath)) Sync();
  CFile::Close();
}

void VDomainFile::OpenContinuationDomainWrite(int listing) {
  Flush();
  Close(1);
  ++m_parcel.scope;
  OpenDomain(m_parcel, kCreateReadWrite);
  if (listing != 0) Reopen(fileListing);
}

// Reading never writes: the file is closed without padding (a read-only file could not
// take the padding, and a damaged part must not be changed by reading it), and it is not
// recorded: a domain read and then written (a listing) reports only the files it wrote.
void VDomainFile::OpenContinuationDomainRead() {
  CFile::Close();
  ++m_parcel.scope;
  OpenDomain(m_parcel, kReadOnly);
}

// A null count or array has no room: the generic failure, never a write through null. The
// files are moved into place once every one of them has its parcel; a failure on the way
// removes them and reports none (the count is what it was on entry; entries written before
// the failure stay in the array, where the finish's status finds the domain type).
void VDomainFile::CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                              ObjParcelType* parcels) {
  const std::uint16_t firstIndex = parcelCount != nullptr ? *parcelCount : 0;
  try {
    Close(1);
    std::vector<CString> written;
    for (const ClosedFile& closed : m_closedFiles) {
      if (parcelCount == nullptr || parcels == nullptr || *parcelCount > highestIndex) {
        AfxThrowFileException(CFileException::genericException, -1, staging::FinalPath(m_strPath));
      }
      ObjParcelType& entry = parcels[*parcelCount];
      entry = m_parcel;
      entry.scope = closed.scope;
      entry.length = closed.length;
      ++*parcelCount;
      written.push_back(closed.path);
    }
    staging::Publish(written);
    m_bFilesInPlace = true;
  } catch (...) {
    if (parcelCount != nullptr) *parcelCount = firstIndex;
    DiscardWrittenFiles();
    throw;
  }
}

// Only files this object itself moved into place are withdrawn: before that, a file under the
// final name is someone else's (an earlier generation of the same name).
void VDomainFile::WithdrawFiles() {
  std::vector<CString> placed;
  for (const ClosedFile& closed : m_closedFiles) {
    if (m_bFilesInPlace && staging::IsStaged(closed.path)) {
      placed.push_back(staging::FinalPath(closed.path));
    }
  }
  m_bFilesInPlace = false;
  DiscardWrittenFiles();
  staging::Discard(placed);
}

void VDomainFile::DiscardWrittenFiles() {
  Abort();
  std::vector<CString> staged;
  for (const ClosedFile& closed : m_closedFiles) {
    if (staging::IsStaged(closed.path)) staged.push_back(closed.path);
  }
  if (staging::IsStaged(m_strPath)) {
    staged.push_back(m_strPath);
    staged.push_back(GetPath(fileCompressed));
  }
  staging::Discard(staged);
  m_closedFiles.clear();
}
