// GPath: parsing of host paths and the file-system operations around them.
#include "util/GPath.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/HostSystem.h"
#include "support/GFileDir.h"
#include "support/HostServices.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(GPath, CObject)

namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool HasDrive(const CString& text) {
  return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
}

// The text as the host takes it: '/' separators, and no drive where the host has one root.
CString HostForm(const CString& text) {
  CString host = CFile::HostPath(text);
  return HasDrive(host) && !hostsys::HasDrives() ? host.substr(2) : host;
}

// Collapses doubled separators (keeping a leading "//", the network prefix) and "::".
CString CollapseSeparators(const CString& text) {
  CString out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!out.empty() && c == out.back() && (c == ':' || (c == '/' && i > 1))) continue;
    out += c;
  }
  return out;
}

CString Lower(CString text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

CString Upper(CString text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsDirectory(const CString& path) { return hostsys::KindOf(path) == hostsys::Kind::directory; }

// Names compared as the host's file system compares them.
bool SameName(const CString& a, const CString& b) {
  return hostsys::CaseBlindNames() ? Lower(a) == Lower(b) : a == b;
}

// "/", or a drive's root ("C:/", "C:") where the host has drives.
bool IsFileSystemRoot(const CString& path) {
  if (path == "/") return true;
  return hostsys::HasDrives() && HasDrive(path) &&
         (path.size() == 2 || path == path.substr(0, 2) + "/");
}

// Format bit 0 drops one trailing separator, but never the one that is the root itself.
CString Formatted(CString text, unsigned format) {
  if ((format & GPath::kNoTrailingSeparator) != 0 && text.size() > 1 && text.back() == '/') {
    text.pop_back();
  }
  return text;
}

}  // namespace

void GPath::Set(const CString& path, int isFile, unsigned flags) {
  const std::int32_t ask = m_lAsk, context = m_lCallbackContext;
  *this = GPath();
  m_lAsk = ask;
  m_lCallbackContext = context;
  m_bIsFile = isFile != 0;

  CString text = CFile::HostPath(path);
  if ((flags & kKeepBlanks) == 0) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
    text = first < last ? CString(first, last) : CString();
  }
  // Windows paths have the system's fixed length; a longer text is cut there.
  if (hostsys::HasDrives() && text.size() > kMaxPathLength) text.resize(kMaxPathLength);
  if (!m_bIsFile) text += '/';
  m_strPath = CollapseSeparators(text);

  CString rest = m_strPath;
  if (HasDrive(rest)) {
    m_strDrive = Upper(rest.substr(0, 2));
    rest.erase(0, 2);
  }
  const std::size_t slash = rest.rfind('/');
  m_strDirectory = slash == CString::npos ? CString() : rest.substr(0, slash + 1);
  const CString fileName = slash == CString::npos ? rest : rest.substr(slash + 1);
  const std::size_t dot = fileName.rfind('.');
  m_strName = dot == CString::npos ? fileName : fileName.substr(0, dot);
  m_strExtension = dot == CString::npos ? CString() : fileName.substr(dot);
  m_strFileName = fileName;

  if (m_strDrive.empty() && m_strDirectory.rfind("//", 0) == 0) {
    const std::size_t third = m_strDirectory.find('/', 2);
    const std::size_t fourth = third == CString::npos ? third : m_strDirectory.find('/', third + 1);
    m_strShareRoot = m_strDirectory.substr(0, fourth);
  }
}

CString GPath::GetDirectory(unsigned format) const { return Formatted(m_strDirectory, format); }

CString GPath::GetPath(unsigned format) const { return Formatted(m_strPath, format); }

CString GPath::GetDriveDirectory(unsigned format) const {
  return Formatted(m_strDrive + m_strDirectory, format);
}

CString GPath::HostDirectory() const {
  const CString directory = HostForm(m_strDrive + m_strDirectory);
  if (directory.empty()) return ".";
  // A drive's root keeps its separator: "C:" alone is the drive's current directory.
  if (directory.size() == 3 && directory[1] == ':') return directory;
  return Formatted(directory, kNoTrailingSeparator);
}

bool GPath::Exists(const CString& text) {
  CString host = CFile::HostPath(text);
  if (!host.empty() && host.back() == ':') host += '/';
  host = HostForm(host);
  if (host.size() > 1 && host.back() == '/' && host[host.size() - 2] != ':') host.pop_back();
  return hostsys::Accessible(host, 0);
}

bool GPath::Access(int mode) const {
  return hostsys::Accessible(Formatted(HostForm(m_strPath), kNoTrailingSeparator), mode);
}

bool GPath::TestDirectory(DirectoryTest mode) const {
  if (m_strDirectory.empty() && mode != DirectoryTest::writable) return true;
  const CString directory = HostDirectory();
  switch (mode) {
    case DirectoryTest::change:
      return hostsys::ChangeDirectory(directory);
    case DirectoryTest::exists:
      return IsDirectory(directory) && hostsys::Accessible(directory, 1);
    case DirectoryTest::writable: {
      // A file made and removed in the directory itself tells whether it takes new files.
      CString probe = directory + (directory.back() == '/' ? "" : "/") + "~mvXXXXXX";
      if (!hostsys::MakeUniqueFile(probe)) return false;
      hostsys::Remove(probe);
      return true;
    }
  }
  return false;
}

bool GPath::DirectoryExists() const { return TestDirectory(DirectoryTest::exists); }

bool GPath::ChangeDirectory() const { return TestDirectory(DirectoryTest::change); }

bool GPath::IsDirectoryWritable() const { return TestDirectory(DirectoryTest::writable); }

bool GPath::MakeFullPath() {
  CString full = hostsys::FullPath(HostForm(m_strPath));
  if (full.empty()) return false;
  if (!m_bIsFile && full.back() != '/') full += '/';
  Set(full, m_bIsFile, kKeepBlanks);
  return true;
}

// Where the host has drives, a path without drive and share root gets the current drive; an
// empty directory becomes the current directory (of the path's drive).
bool GPath::CompleteFromCurrent() {
  CString drive = m_strDrive;
  if (hostsys::HasDrives() && drive.empty() && m_strShareRoot.empty()) {
    const CString current = hostsys::CurrentDirectory();
    if (HasDrive(current)) drive = Upper(current.substr(0, 2));
  }
  if (!m_strDirectory.empty()) {
    if (drive != m_strDrive) Set(drive + m_strDirectory + m_strFileName, m_bIsFile, kKeepBlanks);
    return true;
  }
  CString current = hostsys::FullPath(HostForm(drive));
  if (current.empty()) return false;
  if (current.back() != '/') current += '/';
  Set((hostsys::HasDrives() ? CString() : drive) + current + m_strFileName, m_bIsFile, kKeepBlanks);
  return true;
}

std::vector<CString> GPath::Components() const {
  std::vector<CString> levels;
  const CString rest = m_strDirectory.substr(m_strShareRoot.size());
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = rest.find('/', start);
    if (end == CString::npos) end = rest.size();
    if (end > start) levels.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return levels;
}

int GPath::GetComponentCount() const { return static_cast<int>(Components().size()); }

CString GPath::GetComponent(int index) const {
  const std::vector<CString> levels = Components();
  return index >= 0 && static_cast<std::size_t>(index) < levels.size() ? levels[index] : CString();
}

bool GPath::LastComponentIs(const CString& a, const CString& b, const CString& c) const {
  const std::vector<CString> levels = Components();
  if (levels.empty()) return a.empty();
  const CString last = Lower(levels.back());
  for (const CString* name : {&a, &b, &c}) {
    if (!name->empty() && Lower(*name) == last) return true;
  }
  return false;
}

bool GPath::CreateDirectories() const {
  CString level = m_strShareRoot.empty()
                      ? HostForm(m_strDrive) + (m_strDirectory.rfind('/', 0) == 0 ? "/" : "")
                      : m_strShareRoot + "/";
  std::vector<CString> created;
  for (const CString& component : Components()) {
    level += component;
    if (!IsDirectory(level)) {
      if (!hostsys::MakeDirectory(level)) {
        // Leave the tree as it was: remove what this call made, newest first.
        for (auto it = created.rbegin(); it != created.rend(); ++it) hostsys::RemoveDir(*it);
        return false;
      }
      created.push_back(level);
    }
    level += '/';
  }
  return true;
}

bool GPath::GoUp() {
  if (GetComponentCount() <= 1) return false;
  const CString directory = Formatted(m_strDirectory, kNoTrailingSeparator);
  Set(m_strDrive + directory.substr(0, directory.rfind('/') + 1) + m_strFileName, m_bIsFile,
      kKeepBlanks);
  return true;
}

void GPath::NameToUpper() { Set(m_strDrive + m_strDirectory + Upper(m_strFileName), m_bIsFile); }

void GPath::NameToLower() { Set(m_strDrive + m_strDirectory + Lower(m_strFileName), m_bIsFile); }

// The current directory is the path's directory or lies inside it (a plain prefix test would
// also take "/data" for the current directory "/database"). Names compare as the host's file
// system compares them.
bool GPath::IsCurrentDirectory() const {
  if (m_strDirectory.empty()) return false;
  const CString current = hostsys::CurrentDirectory();
  CString directory = hostsys::Canonical(HostDirectory());
  if (current.empty()) return false;
  if (SameName(current, directory)) return true;
  if (directory.back() != '/') directory += '/';
  return current.size() > directory.size() &&
         SameName(current.substr(0, directory.size()), directory);
}

bool GPath::FindInPathList(const CString& list) {
  std::vector<CString> candidates = {m_strFileName};
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == CString::npos) end = list.size();
    const CString directory = CFile::HostPath(list.substr(start, end - start));
    if (!directory.empty()) {
      candidates.push_back(directory + (directory.back() == '/' ? "" : "/") + m_strFileName);
    }
    start = end + 1;
  }
  for (const CString& candidate : candidates) {
    const hostsys::Kind kind = hostsys::KindOf(candidate);
    if (kind != hostsys::Kind::missing && kind != hostsys::Kind::directory) {
      Set(candidate, 1, kKeepBlanks);
      return MakeFullPath();
    }
  }
  return false;
}

int GPath::CountFiles() const {
  std::vector<CString> list;
  GPath(GetDriveDirectory() + "*.*", 1).ListEntries(255, list);
  return static_cast<int>(list.size());
}

void GPath::ListEntries(unsigned mask, std::vector<CString>& list) const {
  const CString pattern = m_strFileName.empty() ? CString("*") : m_strFileName;
  for (const DirectoryEntry& entry : ReadDirectoryEntries(HostDirectory())) {
    if (!MatchesWildcard(pattern, entry.name)) continue;
    if (mask != 255 && (entry.attributes & mask) == 0) continue;
    const bool directory = (entry.attributes & kAttributeDirectory) != 0;
    list.push_back(GetDriveDirectory() + entry.name + (directory ? "/" : ""));
  }
}

void GPath::ListTree(unsigned mask, std::vector<CString>& list) const {
  const CString pattern = m_strFileName.empty() ? CString("*") : m_strFileName;
  for (const DirectoryEntry& entry : ReadDirectoryEntries(HostDirectory())) {
    const bool directory = (entry.attributes & kAttributeDirectory) != 0;
    if (directory && !entry.isLink) {
      GPath(GetDriveDirectory() + entry.name + "/" + pattern, 1, kKeepBlanks).ListTree(mask, list);
    } else if (!directory && MatchesWildcard(pattern, entry.name) &&
               (mask == 255 || (entry.attributes & mask) != 0)) {
      list.push_back(GetDriveDirectory() + entry.name);
    }
  }
}

bool GPath::DeleteFiles(bool clearAttributes) const {
  const CString pattern = m_strFileName.empty() ? CString("*") : m_strFileName;
  const CString directory = HostDirectory() + "/";
  bool all = true;
  for (const DirectoryEntry& entry : ReadDirectoryEntries(HostDirectory())) {
    if (!MatchesWildcard(pattern, entry.name)) continue;
    const CString path = directory + entry.name;
    if (clearAttributes && !entry.isLink) hostsys::MakeWritable(path);
    const bool directory = (entry.attributes & kAttributeDirectory) != 0 && !entry.isLink;
    if (!(directory ? hostsys::RemoveDir(path) : hostsys::Remove(path))) all = false;
  }
  return all;
}

bool GPath::Offer(const CString& path, int kind, const TreeCallback& callback) {
  if (m_lAsk == 0 || !callback) return true;
  const int answer = callback(path, kind, &m_lCallbackContext);
  if (answer == 2) m_lAsk = 0;
  return answer == 1 || answer == 2;
}

// Walks `directory`: files are offered and then changed (chmod) or removed; with `deleting`,
// each subdirectory is offered before the walk goes into it and removed after. Symbolic links
// count as files: a walk never follows one out of its tree, and a link's own mode cannot be
// changed here, so changing modes passes links over. Returns false when the callback aborts.
bool GPath::WalkTree(const CString& directory, bool deleting, unsigned mode, CString& errorPath,
                     const TreeCallback& callback, bool& failed) {
  const auto fail = [&](const CString& path) {
    if (!failed) errorPath = path;
    failed = true;
  };
  for (const DirectoryEntry& entry : ReadDirectoryEntries(directory)) {
    const CString path = directory + "/" + entry.name;
    if ((entry.attributes & kAttributeDirectory) != 0 && !entry.isLink) {
      if (deleting && !Offer(path, kTreeDirectory, callback)) return false;
      if (!WalkTree(path, deleting, mode, errorPath, callback, failed)) return false;
      if (deleting && !hostsys::RemoveDir(path)) fail(path);
      continue;
    }
    if (!Offer(path, kTreeFile, callback)) return false;
    if (deleting) {
      if (!hostsys::Remove(path)) fail(path);
    } else if (!entry.isLink && !hostsys::SetMode(path, mode)) {
      fail(path);
    }
  }
  return true;
}

bool GPath::ChangeModeTree(unsigned mode, CString& errorPath, const TreeCallback& callback) {
  return RunTreeWalk(false, mode, errorPath, callback);
}

bool GPath::DeleteTree(CString& errorPath, const TreeCallback& callback) {
  return RunTreeWalk(true, 0, errorPath, callback);
}

// The walk runs on the resolved directory, so that moving out of a current directory inside
// the tree does not change what relative names mean. It refuses the root of the file system:
// an empty directory text parses as the root, and a slip there must not change or delete every
// file of the host.
bool GPath::RunTreeWalk(bool deleting, unsigned mode, CString& errorPath,
                        const TreeCallback& callback) {
  errorPath.clear();
  const CString root = hostsys::Canonical(HostDirectory());
  if (IsFileSystemRoot(root) || !IsDirectory(root)) {
    errorPath = root;
    return false;
  }
  m_lAsk = 0;
  if (callback) {
    const int answer = callback(CString(), kTreeStart, &m_lCallbackContext);
    if (answer != 1 && answer != 2) {
      callback(CString(), kTreeEnd, &m_lCallbackContext);
      return false;
    }
    m_lAsk = answer == 1 ? 1 : 0;
  }
  if (deleting && IsCurrentDirectory() && !hostsys::ChangeDirectory(root + "/..")) errorPath = root;
  bool failed = !errorPath.empty();
  const bool completed = WalkTree(root, deleting, mode, errorPath, callback, failed);
  // The directory itself goes last, unless the path names none (the current directory).
  if (completed && deleting && !m_strDirectory.empty() && !hostsys::RemoveDir(root) && !failed) {
    errorPath = root;
    failed = true;
  }
  if (callback) callback(CString(), kTreeEnd, &m_lCallbackContext);
  return completed && !failed;
}

bool GPath::MakeTempFile(const CString& prefix, std::uint32_t minFreeKB) {
  if (prefix.find_first_of("/\\") != CString::npos) return false;
  const CString directory = GetTempDirectory();
  if (minFreeKB != 0 && GPath(directory, 0).GetFreeSpace() <= minFreeKB) return false;
  // The file is made, not only named, so that no other process can take the name between
  // here and its first use.
  CString name = directory + prefix + "XXXXXX";
  if (!hostsys::MakeUniqueFile(name)) return false;
  Set(name, 1, kKeepBlanks);
  return true;
}

// The space available to the caller, in kilobytes truncated to 32 bits.
std::uint32_t GPath::GetFreeSpace() const {
  const std::optional<std::uint64_t> bytes = hostsys::FreeBytes(HostDirectory());
  return bytes ? static_cast<std::uint32_t>(*bytes / 1024) : kUnknownFreeSpaceKB;
}

int GPath::DriveType() const { return hostsys::DriveType(GetDriveDirectory()); }

bool GPath::IsUrl(const CString& text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  return Lower(CString(first, text.end())).find("http://") != CString::npos;
}

// In use: another open holds the file for exclusive use. A missing file is not in use.
bool GPath::IsFileInUse(const CString& text) { return hostsys::InUseByOther(HostForm(text)); }

// The timeout is in seconds, the unit of the time value it is added to.
bool GPath::WaitForFile(const CString& text, long timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    if (!IsFileInUse(text)) return true;
    Host().PumpMessages();
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// The host's temporary directory (TMPDIR on POSIX, the system's temporary path on Windows)
// when it is writable, else the host's fallback ("/tmp/", the Windows directory); always
// ends in '/'.
CString GPath::GetTempDirectory() {
  const CString setting = hostsys::TempDirectory();
  if (!setting.empty()) {
    const GPath candidate(setting, 0);
    if (candidate.DirectoryExists() && candidate.IsDirectoryWritable()) {
      return candidate.GetDriveDirectory();
    }
  }
  return hostsys::FallbackTempDirectory();
}

void GPath::SplitArguments(const CString& text, std::vector<CString>& list) {
  CString piece;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (!piece.empty()) list.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) list.push_back(piece);
}

CString GPath::DriveName(int index) {
  if (index < 0 || index > 26) return CString();
  return CString(1, static_cast<char>('A' + index)) + ":";
}

int GPath::DriveIndex(const CString& text) {
  if (text.empty()) return -1;
  const int c = std::toupper(static_cast<unsigned char>(text[0]));
  return c >= 'A' && c <= 'Z' ? c - 'A' : -1;
}

}  // namespace morvit
