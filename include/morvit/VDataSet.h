// What a data set is: the table of domain types, the data-set name rule, the inventory of a
// data-set directory and one verdict per domain. The library and every command of the tool ask
// these; none keeps a list of types or an idea of damage of its own.
#ifndef MORVIT_VDATASET_H
#define MORVIT_VDATASET_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "morvit/platform.h"

// The three areas of a controller's data, as the back-translation runs take them apart.
enum class VDomainArea : std::uint8_t { node, configuration, program };

// How the files of a domain are named and joined. In every kind the scope of the first file
// is its name's places 2 and 3.
enum class VPartNaming : std::uint8_t {
  single,     // one file; its scope is a number of the domain's own (a task), never a part
  split,      // one imploded stream in part files with scopes 0, 1, ... n-1
  continued,  // continuation files with scopes 0, 1, ... n-1, each a readable file of its own
};

struct VDomainType {
  std::uint16_t number;  // the domain type number of the parcel and the header's type byte
  char code[3];          // places 0 and 1 of the data-set name
  const char* name;      // "REBA"
  VDomainArea area;
  VPartNaming parts;
  // Its files carry the compress header (part number, part count) behind the common header,
  // and its first file the structure header behind that.
  bool blockHeaders;
};

// Every domain type that has a data-set name, in ascending type order.
MORVIT_API std::span<const VDomainType> VDomainTypes();
// The type of a number, or null.
MORVIT_API const VDomainType* VFindDomainType(std::uint16_t number);
// The type of a two-character code in either case, or null.
MORVIT_API const VDomainType* VFindDomainTypeByCode(std::string_view code);
// "node", "configuration", "program".
MORVIT_API const char* VDomainAreaName(VDomainArea area);

// A data-set name TTSSVVVV.COO taken apart. Letters compare without regard to case, as the
// library's own search for the newest file does: "rb000001.c01" names the REBA RB000001.C01.
struct VDataSetName {
  char code[3] = {};                  // upper case
  const VDomainType* type = nullptr;  // null for a code of no known type
  std::uint16_t scope = 0, version = 0, object = 0;
};
MORVIT_API std::optional<VDataSetName> VParseDataSetName(std::string_view fileName);

// What a file of a data-set directory is.
enum class VFileRole : std::uint8_t {
  domain,     // the first file of a domain (or a file judged as one)
  part,       // a later part or continuation file of a domain
  stalePart,  // a later part whose own headers tie it to a domain that no longer counts it
  staging,    // written by a generation that has not finished ('~' and a process number)
  journal,    // the journal of a replacement (see docs/durability.md)
  sibling,    // a listing ('D'), compressed ('Z') or expanded ('X') sibling of a domain file
  orphan,     // such a sibling whose domain file is missing
  foreign,    // not a data-set name
  table,      // a PC data table ("PL"), a host-side table the dump lists, no domain
  // a PC data table that cannot be listed in full (its head counts records the file does not
  // hold): judged by VJudgeDomains
  damagedTable,
};

enum class VVerdict : std::uint8_t { sound, damaged, incomplete, stale, unknownType };

// One domain: its first file, identity from the name and the header, and its verdict.
struct VDataSetDomain {
  std::string file;  // the first file's name as it stands in the directory
  const VDomainType* type = nullptr;
  std::uint16_t typeNumber = 0, scope = 0, version = 0, object = 0;
  std::string time;  // "YYYY-MM-DD HH:MM:SS.mmm" of the common header, empty when unread
  int major = 0, minor = 0;
  bool compressed = false;            // the parts carry one imploded stream
  std::vector<std::string> parts;     // every file, the first one included; "" for a missing one
  std::vector<std::uintmax_t> sizes;  // of each part file (0 for a missing one)
  VVerdict verdict = VVerdict::sound;
  std::string cause;              // in words; empty when sound
  std::string causeFile;          // the file the cause is in
  std::int64_t causeOffset = -1;  // its byte offset in that file, -1 for the file as a whole
};

// One file of the directory that is no domain's file: staging files, journals, siblings,
// orphans and foreign files.
struct VDataSetFile {
  std::string name;
  VFileRole role = VFileRole::foreign;
  std::string note;  // what it is, in words
};

struct VDataSetInventory {
  std::vector<VDataSetDomain> domains;  // in name order of their first files (case folded)
  std::vector<VDataSetFile> others;     // in name order
};

// Reads every file of `directory` by its name and headers (the domains' own readers are not
// run; see VJudgeDomains). A replacement that a killed generation left half done is completed
// first, as every reader of the data set does. Raises CFileException (fileNotFound) when the
// directory does not exist or is no directory.
MORVIT_API VDataSetInventory VReadDataSet(const CString& directory);

// Runs each sound domain's own reader, as the back-translation runs read it, on the files in
// `readDirectory` (the data set itself, or a private copy of it: reading a compressed domain
// writes its expanded sibling there), and turns the domain damaged when the reader fails. A PC
// data table that the dump cannot list in full becomes a damagedTable, its note saying why.
MORVIT_API void VJudgeDomains(VDataSetInventory& inventory, const CString& readDirectory);

// The domain of the inventory whose files include `fileName` (case folded), or null.
MORVIT_API const VDataSetDomain* VFindDomainOfFile(const VDataSetInventory& inventory,
                                                   std::string_view fileName);

// "sound", "damaged", "incomplete", "stale", "unknown type".
MORVIT_API const char* VVerdictName(VVerdict verdict);
// The verdict in one line: "damaged: its header says type 238, its name type 17 (CA000001.C01,
// byte 2)"; "sound" for a sound one.
MORVIT_API std::string VDescribeVerdict(const VDataSetDomain& domain);

#endif  // MORVIT_VDATASET_H
