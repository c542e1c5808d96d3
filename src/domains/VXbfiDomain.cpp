// VXbfiDomain: node files copied into the domain body and recreated from it.
#include "domains/VXbfiDomain.h"

#include <limits>

#include "domains/SectionRecord.h"
#include "util/GPath.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VXbfiDomain, VDomain)

namespace {

// Payload of a file record.
constexpr std::size_t kFlagAt = 49;
constexpr std::size_t kPathLengthAt = 50;
constexpr std::size_t kPathAt = 52;

// A name that stays inside the directory it is joined to.
bool IsPlainFileName(const CString& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == CString::npos;
}

}  // namespace

VXbfiDomain::VXbfiDomain() { m_wDomainLength = 0; }

VXbfiDomain::~VXbfiDomain() = default;

void VXbfiDomain::AddFile(CString path) { m_files.push_back({std::move(path), false}); }

void VXbfiDomain::AddStoredFile(const CString& directory, const CString& name) {
  m_files.push_back({directory + name, !IsPlainFileName(name)});
}

std::vector<CString> VXbfiDomain::GetFileList() const {
  std::vector<CString> paths;
  for (const ListedFile& file : m_files) paths.push_back(file.path);
  return paths;
}

void VXbfiDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  if (record.Field<std::uint8_t, kFlagAt>() == 0) return;
  AddFile(CString(record.Text<kPathAt, kPathLengthAt>()));
}

void VXbfiDomain::WriteDomain(int listing) {
  WriteDomainHeader(0, listing);
  if (listing != 0) return;
  for (const ListedFile& listed : m_files) {
    CFile source;
    CFileException error;
    if (!source.Open(listed.path, CFile::modeRead | CFile::typeBinary, &error)) {
      AfxThrowFileException(error.m_cause, error.m_lOsError, listed.path);
    }
    const std::uint64_t length = source.GetLength();
    if (length > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
      AfxThrowFileException(CFileException::invalidFile, -1, listed.path);
    }
    m_io.WriteLongInt(m_file, static_cast<std::int32_t>(length), 0, nullptr);
    m_io.CopyBytes(source, m_file, static_cast<std::int32_t>(length), 0);
    source.Close();
  }
}

void VXbfiDomain::ReadDomain() { ReadDomainHeader(); }

std::int32_t VXbfiDomain::ReadFileSize() {
  const std::int32_t size = m_io.ReadLongInt(m_file);
  const std::uint64_t left = m_file.GetLength() - m_file.GetPosition();
  if (size < 0 || static_cast<std::uint64_t>(size) > left) {
    AfxThrowFileException(CFileException::endOfFile, -1, m_file.GetFullPath());
  }
  return size;
}

void VXbfiDomain::RecreateFile(const ListedFile& listed) {
  const std::int32_t size = ReadFileSize();
  // A directory that cannot be made shows in the failure to create the file.
  GPath(listed.path, 1).CreateDirectories();
  VDomainFile target;
  target.OpenCreateDomain(listed.path);
  m_io.CopyBytes(m_file, target, size, 0);
  target.CFile::Close();
}

void VXbfiDomain::CheckBody() {
  const std::uint64_t start = m_file.GetPosition();
  for (std::size_t i = 0; i < m_files.size(); ++i) m_file.Seek(ReadFileSize(), CFile::current);
  m_file.Seek(static_cast<std::int64_t>(start), CFile::begin);
}

int VXbfiDomain::Backtranslate() {
  for (const ListedFile& listed : m_files) {
    if (listed.refused) AfxThrowFileException(CFileException::badPath, -1, listed.path);
    if (listed.path.empty()) {
      m_file.Seek(ReadFileSize(), CFile::current);
    } else {
      RecreateFile(listed);
    }
  }
  return 1;
}

}  // namespace morvit
