// Staging names, the move of a finished domain's files into place and the clean-up of a failed
// one.
#include "files/StagedFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "files/DataSetInventory.h"
#include "platform/Processes.h"

namespace morvit::staging {

namespace {

constexpr char kStagingMark = '~';

// The directory part of a path ("" for a bare name: the current directory).
CString DirectoryOf(const CString& path) {
  const CString host = CFile::HostPath(path);
  const std::size_t slash = host.find_last_of('/');
  return slash == CString::npos ? CString() : host.substr(0, slash + 1);
}

void RemoveQuietly(const CString& path) {
  try {
    CFile::Remove(path);
  } catch (const CFileException&) {
    // Absent already, or it cannot go: clean-up does not hide the failure being reported.
  }
}

// Removes the file at `path` if there is one; any failure other than its absence is raised.
void RemoveIfPresent(const CString& path) {
  try {
    CFile::Remove(path);
  } catch (const CFileException& e) {
    if (e.m_cause != CFileException::fileNotFound) throw;
  }
}

}  // namespace

// Where the staging mark sits in a path's file name, or npos.
std::size_t MarkPlace(const CString& path) {
  const std::size_t nameStart = path.find_last_of("/\\");
  const std::size_t mark = path.find(kStagingMark, nameStart == CString::npos ? 0 : nameStart + 1);
  return mark;
}

CString StagingPath(const CString& finalPath) {
  return finalPath + kStagingMark + std::to_string(processes::CurrentProcessId());
}

bool IsStaged(const CString& path) { return MarkPlace(path) != CString::npos; }

CString FinalPath(const CString& path) {
  const std::size_t mark = MarkPlace(path);
  return mark == CString::npos ? path : path.substr(0, mark);
}

// A staging file is stale when the process that wrote it no longer runs: a name without a
// process number (an older staging name) always is.
bool IsStale(const std::string& suffix) {
  if (suffix.empty()) return true;
  if (suffix.find_first_not_of("0123456789") != std::string::npos || suffix.size() > 9) {
    return false;
  }
  return !processes::ProcessRuns(std::stol(suffix));
}

void RemoveStale(const CString& finalPath) {
  // A replacement a killed generation decided is completed before its staged files could be
  // taken for stale ones.
  RollForward(finalPath);
  namespace fs = std::filesystem;
  const CString host = CFile::HostPath(finalPath);
  const fs::path path(host);
  const std::string prefix = path.filename().string() + kStagingMark;
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0 && IsStale(name.substr(prefix.size()))) {
      RemoveQuietly(it->path().string());
    }
  }
}

namespace {

namespace fs = std::filesystem;

constexpr char kJournalSuffix[] = "~journal";
constexpr char kUnfinishedSuffix[] = ".new";
constexpr char kJournalHead[] = "morvit replacement 1";

// A journal: the renames of the staged files to their final names, in the order they are
// done (the first file of the domain last), and the files to remove, all in one directory.
struct Journal {
  std::vector<std::pair<std::string, std::string>> renames;
  std::vector<std::string> removals;
};

CString FileNameOf(const CString& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == CString::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Exists(const CString& path) {
  std::error_code error;
  return fs::exists(fs::path(CFile::HostPath(path)), error);
}

// The later parts of the domain whose first file is `first` that its own headers tie to it and
// that the new set does not write: they go in the same step.
std::vector<std::string> LaterPartsToRemove(const CString& first,
                                            const std::vector<CString>& finals) {
  std::vector<std::string> removals;
  const std::optional<VDataSetName> domain = VParseDataSetName(FileNameOf(first).c_str());
  if (!domain || domain->type == nullptr || domain->type->parts == VPartNaming::single) {
    return removals;
  }
  const fs::path directory = fs::path(CFile::HostPath(first)).parent_path();
  std::error_code error;
  for (fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, error), end;
       !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    const std::optional<VDataSetName> part = VParseDataSetName(name);
    if (!part || std::string(part->code) != domain->code || part->version != domain->version ||
        part->object != domain->object || part->scope == 0) {
      continue;
    }
    const bool written = std::any_of(finals.begin(), finals.end(),
                                     [&](const CString& f) { return FileNameOf(f) == name; });
    if (!written && morvit::ProvesLaterPart(it->path().string(), *part)) removals.push_back(name);
  }
  std::sort(removals.begin(), removals.end());
  return removals;
}

void WriteJournal(const CString& path, const Journal& journal) {
  const CString unfinished = path + kUnfinishedSuffix;
  std::ostringstream text;
  text << kJournalHead << "\n";
  for (const auto& [from, to] : journal.renames) text << "rename " << from << "/" << to << "\n";
  for (const std::string& name : journal.removals) text << "remove " << name << "\n";
  text << "end\n";
  const std::string bytes = text.str();
  {
    CFile file(unfinished, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
    file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    file.Flush();
    file.Close();
  }
  CFile::Rename(unfinished, path);
}

// The journal at `path`, or nothing when it is not whole (its last line is "end").
std::optional<Journal> ReadJournal(const CString& path) {
  std::ifstream in(fs::path(CFile::HostPath(path)), std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != kJournalHead) return std::nullopt;
  Journal journal;
  while (std::getline(in, line)) {
    if (line == "end") return journal;
    if (line.rfind("rename ", 0) == 0) {
      const std::string names = line.substr(7);
      const std::size_t slash = names.find('/');
      if (slash == std::string::npos) return std::nullopt;
      journal.renames.emplace_back(names.substr(0, slash), names.substr(slash + 1));
    } else if (line.rfind("remove ", 0) == 0) {
      journal.removals.push_back(line.substr(7));
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// Does what the journal says, each step once: a staged file already renamed is not there any
// more, a file already removed neither. The first file of the domain is renamed last.
void Apply(const CString& directory, const Journal& journal) {
  for (std::size_t i = 0; i + 1 < journal.renames.size(); ++i) {
    const auto& [from, to] = journal.renames[i];
    if (Exists(directory + from)) CFile::Rename(directory + from, directory + to);
  }
  for (const std::string& name : journal.removals) RemoveIfPresent(directory + name);
  if (!journal.renames.empty()) {
    const auto& [from, to] = journal.renames.back();
    if (Exists(directory + from)) CFile::Rename(directory + from, directory + to);
  }
  CFile::SyncDirectory(directory);
}

// Completes the journal at `path` (the directory lock held).
void Complete(const CString& directory, const CString& path) {
  if (EndsWith(path, kUnfinishedSuffix)) {
    RemoveQuietly(path);  // its writer died before the step began: the old set stands
    return;
  }
  if (const std::optional<Journal> journal = ReadJournal(path)) Apply(directory, *journal);
  RemoveIfPresent(path);
  CFile::SyncDirectory(directory);
}

}  // namespace

bool FileExists(const CString& path) { return Exists(path); }

CString NameInAnyCase(const CString& directory, const CString& name) {
  const auto folded = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  const std::string wanted = folded(name);
  const CString host = CFile::HostPath(directory);
  std::error_code error;
  CString found;
  for (fs::directory_iterator it(host.empty() ? fs::path(".") : fs::path(host), error), end;
       !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (folded(candidate) == wanted && candidate > found) found = candidate;
  }
  return found;
}

bool IsJournalName(const std::string& name) {
  return EndsWith(name, kJournalSuffix) ||
         EndsWith(name, std::string(kJournalSuffix) + kUnfinishedSuffix);
}

void RollForwardJournals(const CString& directory) {
  const fs::path root(CFile::HostPath(directory));
  const auto journals = [&root] {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      if (IsJournalName(name)) found.push_back(name);
    }
    return found;
  };
  if (journals().empty()) return;
  CString prefix = root.string();
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  const processes::DirectoryLock lock(prefix);
  for (const std::string& name : journals()) Complete(prefix, prefix + name);
}

void RollForward(const CString& finalPath) {
  const CString journal = finalPath + kJournalSuffix;
  if (!Exists(journal) && !Exists(journal + kUnfinishedSuffix)) return;
  RollForwardJournals(DirectoryOf(finalPath).empty() ? CString("./") : DirectoryOf(finalPath));
}

void Publish(const std::vector<CString>& stagedPaths) {
  std::vector<CString> staged;  // each once: a file closed twice is recorded twice
  for (const CString& path : stagedPaths) {
    if (IsStaged(path) && std::find(staged.begin(), staged.end(), path) == staged.end()) {
      staged.push_back(path);
    }
  }
  if (staged.empty()) return;
  const CString directory = DirectoryOf(staged.front());
  // One process at a time moves files into place in a directory: two generations of the same
  // domain at once leave the one that finished last, whole, never a mix of the two.
  const processes::DirectoryLock lock(directory);
  const CString first = FinalPath(staged.front());
  if (Exists(first + kJournalSuffix) || Exists(first + kJournalSuffix + kUnfinishedSuffix)) {
    Complete(directory, first + kJournalSuffix + (Exists(first + kJournalSuffix) ? "" : ".new"));
  }
  std::vector<CString> finals;
  for (const CString& path : staged) finals.push_back(FinalPath(path));
  Journal journal;
  journal.removals = LaterPartsToRemove(first, finals);
  for (auto it = staged.rbegin(); it != staged.rend(); ++it) {
    journal.renames.emplace_back(FileNameOf(*it), FileNameOf(FinalPath(*it)));
  }
  if (journal.renames.size() == 1 && journal.removals.empty()) {
    // One file: a rename is the whole step.
    CFile::Rename(staged.front(), first);
    try {
      CFile::SyncDirectory(directory.empty() ? CString("./") : directory);
    } catch (const CFileException&) {
      RemoveQuietly(first);  // not known to be stored: no search finds it
      throw;
    }
    return;
  }
  const CString place = directory.empty() ? CString("./") : directory;
  const CString journalPath = place + FileNameOf(first) + kJournalSuffix;
  try {
    WriteJournal(journalPath, journal);
    CFile::SyncDirectory(place);
  } catch (const CFileException&) {
    RemoveQuietly(journalPath + kUnfinishedSuffix);
    RemoveQuietly(journalPath);
    throw;  // nothing moved: the old set stands, the staged files go with Discard
  }
  // From here on the new set is decided: a failure leaves the journal for the next reader,
  // unless the step replaced nothing yet, when its files go as a failed finish's do.
  bool replaces = !journal.removals.empty();
  for (const CString& path : finals) replaces = replaces || Exists(path);
  try {
    Apply(place, journal);
    RemoveIfPresent(journalPath);
    CFile::SyncDirectory(place);
  } catch (const CFileException&) {
    if (!replaces) {
      for (const CString& path : finals) RemoveQuietly(path);
      RemoveQuietly(journalPath);
    }
    throw;
  }
}

void Discard(const std::vector<CString>& paths) {
  for (const CString& path : paths) {
    // A staged file that a whole journal names belongs to the roll-forward, not to the failure.
    if (IsStaged(path) && Exists(FinalPath(path) + kJournalSuffix)) continue;
    bool named = false;
    for (const CString& other : paths) {
      if (IsStaged(other) && Exists(FinalPath(other) + kJournalSuffix)) named = true;
    }
    if (!named) RemoveQuietly(path);
  }
}

}  // namespace morvit::staging
