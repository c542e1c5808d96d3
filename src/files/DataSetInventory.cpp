// The inventory of a data-set directory: every file by its name and headers, the domains with
// their parts, and the verdict of each domain's headers. Nothing here runs a domain's reader
// (the interface does, VJudgeDomains); nothing here changes a file but the completion of a
// replacement a killed generation left half done.
#include "files/DataSetInventory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "files/HeaderFormat.h"
#include "files/StagedFiles.h"
#include "files/StorageFailure.h"
#include "morvit/VMotorolaIO.h"
#include "platform/HostSystem.h"
#include "support/DataSetNames.h"

namespace morvit {
namespace {

namespace fs = std::filesystem;
using namespace headerformat;

// A compress method that imploded the stream (any other non-zero one only moved the file).
constexpr std::uint16_t kImplode = 2;
// Bytes the 16-bit length word cannot count: a longer uncompressed file wraps it.
constexpr std::uintmax_t kLengthWrap = 0x10000;
// Files are padded with zero bytes to a multiple of this many bytes.
constexpr std::uintmax_t kPadding = 1024;
// The structure header's mark for an offset that points nowhere.
constexpr std::int32_t kNoOffset = -1;

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return folded;
}

std::string Number(std::uintmax_t value) { return std::to_string(value); }

// "PL" is no domain type's code: it names the PC data tables the dump lists.
bool IsPcDataTable(const VDataSetName& name) { return name.code[0] == 'P' && name.code[1] == 'L'; }

// The first word of the file that contradicts the name or the size, with its offset.
void Contradiction(FileHeaders& headers, std::int64_t offset, std::string text) {
  if (!headers.problem.empty()) return;
  headers.problem = std::move(text);
  headers.offset = offset;
}
// The same for a file that ends before its headers say it does.
void CutShort(FileHeaders& headers, std::int64_t offset, std::string text) {
  if (headers.problem.empty()) headers.cut = true;
  Contradiction(headers, offset, std::move(text));
}

// The length word against the file's size: never more bytes than the file has; in a file of
// the block-addressed types, whose length word counts the whole file part, the bytes it counts
// (plus the 64 KiB it may have wrapped over, for an uncompressed file beyond that size) and
// nothing behind them but the zero bytes of the padding to the next 1024. (The length word of
// the other types counts their own records, which need not reach the end of the data.)
void CheckLength(CFile& file, FileHeaders& headers, std::uintmax_t counted, bool wholePart) {
  const std::uintmax_t size = headers.size;
  if (counted > size) {
    CutShort(headers, 0,
             "its header counts " + Number(counted) + " bytes, the file has " + Number(size));
    return;
  }
  if (!wholePart) return;
  const std::uintmax_t end = counted + (size - counted) / kLengthWrap * kLengthWrap;
  if (size - end >= kPadding) {
    Contradiction(headers, static_cast<std::int64_t>(end),
                  Number(size - end) + " bytes behind the " + Number(end) +
                      " its header counts, more than the padding");
    return;
  }
  file.Seek(static_cast<std::int64_t>(end), CFile::begin);
  unsigned char tail[kPadding];
  const std::uintmax_t read = file.Read(tail, static_cast<std::uint32_t>(size - end));
  for (std::uintmax_t i = 0; i < read; ++i) {
    if (tail[i] != 0) {
      Contradiction(
          headers, static_cast<std::int64_t>(end + i),
          "a byte that is not padding behind the " + Number(end) + " bytes its header counts");
      return;
    }
  }
}

void ReadHeaderWords(CFile& file, FileHeaders& headers, const VDataSetName& name) {
  VMotorolaIO io;
  const VDomainType* type = name.type;
  if (headers.size < kCommonHeaderSize) {
    CutShort(headers, 0,
             headers.size == 0
                 ? "empty"
                 : "cut short: " + Number(headers.size) + " bytes, shorter than its common header");
    return;
  }
  const std::uintmax_t counted = io.ReadCardinal(file) + 1u;
  headers.type = io.ReadByte(file);
  headers.scope = io.ReadByte(file);
  headers.version = io.ReadCardinal(file);
  RTime time{};
  io.ReadRTime(file, time, 0);
  headers.major = io.ReadByte(file);
  headers.minor = io.ReadByte(file);
  char text[48];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.year, time.month,
                time.day, time.hour, time.minute, time.second, time.millisecond);
  headers.time = text;
  if (headers.type != (type->number & 0xFF)) {
    Contradiction(headers, 2,
                  "its header says type " + Number(headers.type) + ", its name " + type->name +
                      " (type " + Number(type->number) + ")");
  }
  if (headers.scope != (name.scope & 0xFF)) {
    Contradiction(headers, 3,
                  "its header says scope " + Number(headers.scope) + ", its name scope " +
                      Number(name.scope));
  }
  if (headers.version != name.version) {
    Contradiction(headers, 4,
                  "its header says version " + Number(headers.version) + ", its name version " +
                      Number(name.version));
  }
  CheckLength(file, headers, counted, type->blockHeaders);
  if (!type->blockHeaders) return;
  if (headers.size < kPartHeaderSize) {
    CutShort(headers, kCommonHeaderSize, "cut short inside its compress header");
    return;
  }
  file.Seek(kCommonHeaderSize, CFile::begin);
  headers.blockHeaders = true;
  headers.own = io.ReadCardinal(file);
  headers.count = static_cast<std::uint16_t>(io.ReadCardinal(file) + 1u);
  headers.method = io.ReadCardinal(file);
  const std::uint16_t chunk = io.ReadCardinal(file);
  const bool inParts = type->parts != VPartNaming::single;
  if (headers.own != (inParts ? name.scope : 0)) {
    Contradiction(headers, kCommonHeaderSize,
                  "its compress header says part " + Number(headers.own) + ", its name " +
                      (inParts ? "part " + Number(name.scope) : std::string("a domain of one")));
  }
  // More parts than the two digits of a part's name can number cannot be a domain's either.
  if (headers.count == 0 || (!inParts && headers.count != 1) ||
      (inParts && (headers.own >= headers.count || headers.count > kMaxDataSetScope + 1u))) {
    Contradiction(headers, kCommonHeaderSize + 2,
                  "its compress header counts " + Number(headers.count) + " parts");
  }
  const bool first = headers.own == 0;
  const std::uintmax_t carried = (first ? kFirstPartHeaderSize : kPartHeaderSize) + chunk;
  if (headers.method != 0 && (carried + 1) / 2 * 2 != counted) {
    Contradiction(headers, kCommonHeaderSize + 6,
                  "its compress header carries " + Number(chunk) + " bytes, its common header " +
                      "counts " + Number(counted));
  }
  if (!first) return;
  if (headers.size < kFirstPartHeaderSize) {
    CutShort(headers, kPartHeaderSize, "cut short inside its structure header");
    return;
  }
  if (headers.method != 0) return;  // its offsets point into the expanded file
  file.Seek(kPartHeaderSize + 2, CFile::begin);
  for (int i = 0; i < 3; ++i) {
    const std::int32_t offset = io.ReadLongInt(file);
    if (offset != kNoOffset && (offset < 0 || static_cast<std::uintmax_t>(offset) > counted)) {
      Contradiction(headers, kPartHeaderSize + 2 + 4 * i,
                    "its structure header points to byte " + std::to_string(offset) +
                        ", beyond its " + Number(counted) + " bytes");
    }
  }
}

}  // namespace

FileHeaders ReadFileHeaders(const CString& path, const VDataSetName& name,
                            bool raiseStorageFailures) {
  FileHeaders headers;
  try {
    CFile file(path, CFile::modeRead | CFile::typeBinary);
    headers.size = file.GetLength();
    ReadHeaderWords(file, headers, name);
  } catch (const CFileException& e) {
    if (raiseStorageFailures && IsStorageFailure(e)) throw;
    CFileException named = e;
    named.m_strFileName.clear();
    Contradiction(headers, -1, DescribeFileException(named));
  }
  return headers;
}

bool ProvesLaterPart(const CString& path, const VDataSetName& name) {
  if (name.type == nullptr || name.type->parts == VPartNaming::single || name.scope == 0) {
    return false;
  }
  const FileHeaders headers = ReadFileHeaders(path, name);
  return headers.blockHeaders && headers.type == (name.type->number & 0xFF) &&
         headers.version == name.version && headers.own == name.scope;
}

PartContradiction JudgePart(const FileHeaders& part, const FileHeaders& first,
                            const std::string& firstName) {
  if (!part.problem.empty()) return {part.problem, part.offset};
  if (part.count != first.count) {
    return {"its compress header counts " + Number(part.count) + " parts, " + firstName +
                " counts " + Number(first.count),
            kCommonHeaderSize + 2};
  }
  if (part.time != first.time) {
    return {
        "its time stamp " + part.time + " is not that of " + firstName + " (" + first.time + ")",
        kCommonHeaderSize - 8};
  }
  return {};
}

namespace {

// The name of part `scope` of a domain, in the case of its first file's name.
std::string PartName(const std::string& first, std::uint16_t scope) {
  std::string name = first;
  name[2] = static_cast<char>('0' + scope / 10);
  name[3] = static_cast<char>('0' + scope % 10);
  return name;
}

// "cause (file, byte offset)", as VDescribeVerdict says it.
std::string Where(const std::string& cause, const std::string& file, std::int64_t offset) {
  return cause + " (" + file + (offset >= 0 ? ", byte " + std::to_string(offset) : "") + ")";
}

}  // namespace

HeaderVerdict JudgeDomainHeaders(const CString& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const CString directory = slash == CString::npos ? CString() : path.substr(0, slash + 1);
  const std::string name = slash == CString::npos ? path : path.substr(slash + 1);
  const std::optional<VDataSetName> parsed = VParseDataSetName(name);
  if (!parsed || parsed->type == nullptr) return {};
  const FileHeaders first = ReadFileHeaders(path, *parsed, true);
  if (!first.problem.empty()) {
    return {"damaged: " + Where(first.problem, name, first.offset), directory + name,
            first.cut ? CFileException::endOfFile : CFileException::invalidFile};
  }
  if (parsed->type->parts == VPartNaming::single || !first.blockHeaders || first.own != 0) {
    return {};
  }
  for (std::uint16_t scope = 1; scope < first.count; ++scope) {
    std::string partName = PartName(name, scope);
    if (!staging::FileExists(directory + partName)) {
      const CString found = staging::NameInAnyCase(directory, partName);
      if (found.empty()) {
        return {"incomplete: " + Where("its part " + partName + " is missing", partName, -1),
                directory + partName, CFileException::fileNotFound};
      }
      partName = found;
    }
    const FileHeaders part =
        ReadFileHeaders(directory + partName, *VParseDataSetName(partName), true);
    const PartContradiction contradiction = JudgePart(part, first, name);
    if (!contradiction.cause.empty()) {
      return {"damaged: " + Where(contradiction.cause, partName, contradiction.offset),
              directory + partName,
              part.cut ? CFileException::endOfFile : CFileException::invalidFile};
    }
  }
  return {};
}

namespace {

struct DataSetFile {
  std::string name;
  VDataSetName parsed;
  FileHeaders headers;
  bool placed = false;
};

// Identity of a domain across its parts: code, version and object.
std::string PartKey(const VDataSetName& n) {
  return std::string(n.code) + "/" + Number(n.version) + "/" + Number(n.object);
}
std::string DomainKey(const VDataSetName& n) {
  return std::string(n.code) + "/" + Number(n.object);
}

void Judge(VDataSetDomain& domain, VVerdict verdict, std::string cause, std::string file,
           std::int64_t offset = -1) {
  if (domain.verdict != VVerdict::sound) return;
  domain.verdict = verdict;
  domain.cause = std::move(cause);
  domain.causeFile = std::move(file);
  domain.causeOffset = offset;
}

VDataSetDomain DomainOfFirst(const DataSetFile& first) {
  VDataSetDomain domain;
  domain.file = first.name;
  domain.type = first.parsed.type;
  domain.typeNumber = first.parsed.type == nullptr ? 0 : first.parsed.type->number;
  domain.scope = first.parsed.scope;
  domain.version = first.parsed.version;
  domain.object = first.parsed.object;
  domain.time = first.headers.time;
  domain.major = first.headers.major;
  domain.minor = first.headers.minor;
  domain.compressed = first.headers.method == kImplode;
  domain.parts = {first.name};
  domain.sizes = {first.headers.size};
  // The first part of a split or continued domain says how many parts follow.
  if (first.parsed.type != nullptr && first.parsed.type->parts != VPartNaming::single &&
      first.parsed.scope == 0 && first.headers.blockHeaders && first.headers.own == 0 &&
      first.headers.count <= kMaxDataSetScope + 1) {
    domain.parts.resize(first.headers.count);
  }
  if (first.parsed.type == nullptr) {
    Judge(domain, VVerdict::unknownType,
          "no domain type has the code " + std::string(first.parsed.code), first.name);
  } else if (!first.headers.problem.empty()) {
    Judge(domain, VVerdict::damaged, first.headers.problem, first.name, first.headers.offset);
  }
  return domain;
}

// Joins the later parts to their first file by their headers; a later part that no current
// first file counts is stale, one without any first file leaves its domain incomplete.
void JoinParts(std::vector<DataSetFile>& files, VDataSetInventory& inventory) {
  std::map<std::string, std::size_t> firsts;      // PartKey -> index into inventory.domains
  std::map<std::string, std::uint16_t> versions;  // DomainKey -> a version whose first exists
  for (std::size_t i = 0; i < inventory.domains.size(); ++i) {
    const VDataSetDomain& d = inventory.domains[i];
    if (d.type == nullptr || d.type->parts == VPartNaming::single) continue;
    const VDataSetName n = *VParseDataSetName(d.file);
    firsts.emplace(PartKey(n), i);
    versions[DomainKey(n)] = n.version;
  }
  std::map<std::string, const DataSetFile*> heads;  // first file name -> its headers
  for (const DataSetFile& f : files) {
    if (f.placed) heads[f.name] = &f;
  }
  for (DataSetFile& file : files) {
    if (file.placed) continue;
    file.placed = true;
    const auto first = firsts.find(PartKey(file.parsed));
    if (first != firsts.end()) {
      VDataSetDomain& domain = inventory.domains[first->second];
      const DataSetFile* head = heads[domain.file];
      // A first file too damaged to count its parts keeps every later part of its name: the
      // damage is its own, not theirs.
      const std::uint16_t count = head != nullptr && head->headers.blockHeaders
                                      ? head->headers.count
                                      : static_cast<std::uint16_t>(std::max<std::size_t>(
                                            domain.parts.size(), file.parsed.scope + 1u));
      if (file.parsed.scope < count && domain.parts.size() < count) domain.parts.resize(count);
      if (file.parsed.scope < domain.parts.size() && domain.parts[file.parsed.scope].empty()) {
        domain.parts[file.parsed.scope] = file.name;
        domain.sizes.resize(domain.parts.size());
        domain.sizes[file.parsed.scope] = file.headers.size;
        FileHeaders firstHeaders;
        firstHeaders.count = count;
        firstHeaders.time = domain.time;
        const PartContradiction contradiction = JudgePart(file.headers, firstHeaders, domain.file);
        if (!contradiction.cause.empty()) {
          Judge(domain, VVerdict::damaged, contradiction.cause, file.name, contradiction.offset);
        }
        continue;
      }
    }
    VDataSetDomain alone = DomainOfFirst(file);
    if (alone.verdict == VVerdict::sound) {
      const auto version = versions.find(DomainKey(file.parsed));
      if (first != firsts.end()) {
        Judge(alone, VVerdict::stale,
              "a later part of " + inventory.domains[first->second].file +
                  ", which counts fewer parts",
              file.name);
      } else if (version != versions.end()) {
        Judge(alone, VVerdict::stale,
              "a part of version " + Number(file.parsed.version) +
                  " of a domain whose current version is " + Number(version->second),
              file.name);
      } else {
        Judge(alone, VVerdict::incomplete,
              "its first part " + PartName(file.name, 0) + " is missing", file.name);
      }
    }
    inventory.domains.push_back(std::move(alone));
  }
}

// Names each part that is missing.
void FindMissingParts(VDataSetInventory& inventory) {
  for (VDataSetDomain& domain : inventory.domains) {
    domain.sizes.resize(domain.parts.size());
    for (std::size_t i = 1; i < domain.parts.size(); ++i) {
      if (domain.parts[i].empty()) {
        Judge(domain, VVerdict::incomplete,
              "its part " + PartName(domain.file, static_cast<std::uint16_t>(i)) + " is missing",
              PartName(domain.file, static_cast<std::uint16_t>(i)));
      }
    }
  }
}

// What a file that is no data-set name is: a staging file or journal, a sibling of a domain
// file (its extension's letter D, X or Z), an orphan sibling, or a foreign file.
VDataSetFile OtherFile(const std::string& name, const std::map<std::string, bool>& dataSetNames) {
  if (staging::IsJournalName(name)) {
    return {name, VFileRole::journal, "the journal of a replacement that has not finished"};
  }
  if (name.find('~') != std::string::npos) {
    return {name, VFileRole::staging,
            "left by a generation that did not finish; the next generation of its domain "
            "removes it"};
  }
  if (name.size() == 12 && name[8] == '.') {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[9])));
    std::string domain = name;
    domain[9] = 'C';
    if ((letter == 'D' || letter == 'X' || letter == 'Z') && VParseDataSetName(domain)) {
      if (dataSetNames.count(Folded(domain)) != 0) {
        return {name, VFileRole::sibling,
                std::string(letter == 'D'   ? "the listing"
                            : letter == 'X' ? "the expansion"
                                            : "the compressed copy") +
                    " of " + domain};
      }
      return {name, VFileRole::orphan, "its domain file " + domain + " is missing"};
    }
  }
  return {name, VFileRole::foreign, "not a data-set name"};
}

}  // namespace
}  // namespace morvit

VDataSetInventory VReadDataSet(const CString& directory) {
  using namespace morvit;
  // Through the host layer: names are UTF-8 on every host (a Windows path of another script
  // would not survive the narrow std::filesystem calls).
  if (hostsys::KindOf(directory) != hostsys::Kind::directory) {
    AfxThrowFileException(CFileException::fileNotFound, -1, directory);
  }
  CString root = directory;
  if (!root.empty() && root.back() != '/' && root.back() != '\\') root += '/';
  staging::RollForwardJournals(root);
  std::vector<hostsys::DirectoryItem> items;
  if (!hostsys::ListDirectory(directory, items)) {
    AfxThrowFileException(CFileException::accessDenied, -1, directory);
  }
  std::vector<std::string> names;
  for (const hostsys::DirectoryItem& item : items) {
    if (item.regular) names.push_back(item.name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string fa = Folded(a), fb = Folded(b);
    return fa != fb ? fa < fb : a < b;
  });
  VDataSetInventory inventory;
  std::vector<DataSetFile> laterParts;
  std::map<std::string, bool> dataSetNames;
  for (const std::string& name : names) {
    if (name.find('~') == std::string::npos && VParseDataSetName(name)) dataSetNames[Folded(name)];
  }
  for (const std::string& name : names) {
    const std::optional<VDataSetName> parsed =
        name.find('~') == std::string::npos ? VParseDataSetName(name) : std::nullopt;
    if (!parsed) {
      inventory.others.push_back(OtherFile(name, dataSetNames));
      continue;
    }
    if (IsPcDataTable(*parsed)) {
      inventory.others.push_back({name, VFileRole::table, "a PC data table, not a domain"});
      continue;
    }
    DataSetFile file{name, *parsed, {}, false};
    if (parsed->type != nullptr) file.headers = ReadFileHeaders(root + name, *parsed);
    const bool later =
        parsed->type != nullptr && parsed->type->parts != VPartNaming::single && parsed->scope > 0;
    if (later) {
      laterParts.push_back(std::move(file));
    } else {
      inventory.domains.push_back(DomainOfFirst(file));
      laterParts.push_back(std::move(file));  // looked up as a head by JoinParts
      laterParts.back().placed = true;
    }
  }
  JoinParts(laterParts, inventory);
  FindMissingParts(inventory);
  std::stable_sort(inventory.domains.begin(), inventory.domains.end(),
                   [](const VDataSetDomain& a, const VDataSetDomain& b) {
                     return Folded(a.file) < Folded(b.file);
                   });
  return inventory;
}

const VDataSetDomain* VFindDomainOfFile(const VDataSetInventory& inventory,
                                        std::string_view fileName) {
  const std::string folded = morvit::Folded(fileName);
  for (const VDataSetDomain& domain : inventory.domains) {
    for (const std::string& part : domain.parts) {
      if (!part.empty() && morvit::Folded(part) == folded) return &domain;
    }
  }
  return nullptr;
}

const char* VVerdictName(VVerdict verdict) {
  switch (verdict) {
    case VVerdict::sound:
      return "sound";
    case VVerdict::damaged:
      return "damaged";
    case VVerdict::incomplete:
      return "incomplete";
    case VVerdict::stale:
      return "stale";
    case VVerdict::unknownType:
      return "unknown type";
  }
  return "damaged";
}

std::string VDescribeVerdict(const VDataSetDomain& domain) {
  if (domain.verdict == VVerdict::sound) return VVerdictName(domain.verdict);
  std::string text = std::string(VVerdictName(domain.verdict)) + ": " + domain.cause;
  if (!domain.causeFile.empty()) {
    text += " (" + domain.causeFile;
    if (domain.causeOffset >= 0) text += ", byte " + std::to_string(domain.causeOffset);
    text += ")";
  }
  return text;
}
