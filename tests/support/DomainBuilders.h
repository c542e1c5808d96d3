// Test builders for the section-based domain types: section records laid out field by field
// as a client fills them, generation through the C interface, and a database that records what
// back-translation hands over.
#ifndef MORVIT_TESTS_SUPPORT_DOMAINBUILDERS_H
#define MORVIT_TESTS_SUPPORT_DOMAINBUILDERS_H

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "morvit/VBase.h"
#include "morvit/VDatabase.h"
#include "morvit/VManager.h"
#include "support/FakeHost.h"

namespace testutil {

using Bytes = std::vector<std::uint8_t>;

// A section record of `kind`, all other bytes zero.
TSectionInfo Section(std::int32_t kind);

// Stores `value` at byte `offset` of the record, in host byte order.
template <typename T>
void Put(TSectionInfo& section, std::size_t offset, T value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, &value, sizeof value);
}
// Stores the characters of `text` at `offset` and their count at `lengthOffset`.
void PutText(TSectionInfo& section, std::size_t offset, std::size_t lengthOffset,
             const std::string& text);

// NOBA text record: `length` at 8 and the address `chars` at 12 (the caller keeps the
// characters alive until the record is inserted).
TSectionInfo NobaText(const char* chars, std::uint16_t length);

// REBA/POBA kind 5: an element entry with key and values A to E.
struct EntryValues {
  std::uint16_t a, b, c, d, e;
};
TSectionInfo Entry(std::uint16_t key, EntryValues values, const std::string& name);
// Kind 7: an addition to the entry `key` with an integer terminal value (type code 1).
TSectionInfo Addition(std::uint16_t key, std::uint16_t number, const std::string& first,
                      const std::string& second, std::int16_t terminalValue);
// Kind 6: a page break.
TSectionInfo PageBreak(std::uint16_t number, std::int32_t value, std::uint8_t flag,
                       const std::string& text);

// BOBA kind 3: an object's element with its three values.
TSectionInfo BobaObject(std::uint16_t object, std::uint16_t value1, std::uint16_t value2,
                        std::uint16_t value3);
// Kind 4: a terminal value for `object`, an integer (type code 1) or, given text, a string
// (type code 4).
TSectionInfo BobaTerminal(std::uint16_t object, std::int16_t value);
TSectionInfo BobaTerminal(std::uint16_t object, const std::string& text);
// CNOD/RNOD record: the three directory kinds searched, the entry's kind, value and text (at
// most 16 characters), the carry flag and the file name or pattern.
struct NodeFiles {
  std::int32_t searchKinds[3];
  std::uint16_t kind;
  std::uint32_t value;
  std::string text;
  bool carry;
  std::string pattern;
};
TSectionInfo NodeRecord(const NodeFiles& files);

// The parcel the tests generate and read: object 1, version 1, scope 0.
ObjParcelType TestParcel(std::uint16_t type);

// One generation through the C interface: start, insert every record, finish with
// VBase_PutFinishEx and the given highest parcel index.
struct Generation {
  std::int16_t startStatus = 0;
  std::vector<std::int16_t> insertStatus;
  std::int16_t finishStatus = 0;
  std::vector<ObjParcelType> parcels;  // the parcels written (count of them)
};
Generation GenerateThroughC(std::uint16_t type, const std::vector<TSectionInfo>& sections,
                            std::uint16_t highestIndex = 15);
// The same for a given parcel (its domain type is the type started), through a manager whose
// domains come from `factory` when one is given.
Generation GenerateThroughC(const ObjParcelType& parcel, const std::vector<TSectionInfo>& sections,
                            std::uint16_t highestIndex = 15,
                            const VManager::DomainFactory& factory = nullptr);

// A database that keeps a copy of every element handed to Insert.
class RecordingDatabase : public VDatabase {
 public:
  struct Inserted {
    std::uint16_t code;         // the code argument
    std::uint16_t elementCode;  // the element's own code
    Bytes bytes;                // the element's bytes
  };

  void Insert(std::uint16_t code, VElement* element) override;

  std::vector<Inserted> inserted;
};

// Opens the test parcel's domain of class D for reading with `database` and reads it.
template <typename D>
std::unique_ptr<D> ReadBack(std::uint16_t type, VDatabase* database) {
  auto domain = std::make_unique<D>();
  domain->OpenDomain(TestParcel(type), database, 0);
  domain->ReadDomain();
  return domain;
}

// The files of a directory whose extension starts with `letter`, sorted by name.
std::vector<std::string> FilesWithExtensionLetter(const std::string& directory, char letter);

// Fixture of the domain-type tests: a fake host with a scratch data directory, installed for
// the test.
class DomainTypeTest : public ::testing::Test {
 protected:
  // The bytes of the one file in the data directory whose extension starts with `letter`
  // ('C': the domain file; 'X': the expanded copy that reading leaves beside it).
  Bytes OnlyFile(char letter) const;
  // The percentages of the progress messages sent so far.
  std::vector<int> Progress() const;

  FakeHost host;
  ScopedHost scoped{host};
};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_DOMAINBUILDERS_H
