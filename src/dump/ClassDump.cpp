// The class dump and its table of the domain types that list themselves.
#include "dump/ClassDump.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "dump/CodeListing.h"
#include "dump/DumpDriver.h"
#include "dump/DumpDriverState.h"
#include "files/StorageFailure.h"
#include "io/ListingEvents.h"
#include "morvit/VDomainPath.h"
#include "support/DomainTypes.h"
#include "support/HostServices.h"

namespace morvit {

namespace {

enum class ClassDumpKind { throughClass, nothing };

struct ClassDumpRow {
  std::uint16_t type;
  ClassDumpKind kind;
};

// The types listed through their domain class (the manager's type table makes the object),
// in ascending order. A type whose class the table does not have yet goes to the driver. The
// node-file lists (119, 120) are not listed.
constexpr ClassDumpRow kClassDumpTypes[] = {
    {DomainTypeOf("CN"), ClassDumpKind::throughClass},
    {DomainTypeOf("NB"), ClassDumpKind::throughClass},
    {DomainTypeOf("RN"), ClassDumpKind::throughClass},
    {DomainTypeOf("RB"), ClassDumpKind::throughClass},
    {DomainTypeOf("PB"), ClassDumpKind::throughClass},
    {DomainTypeOf("B1"), ClassDumpKind::throughClass},
    {DomainTypeOf("B2"), ClassDumpKind::throughClass},
    {DomainTypeOf("B3"), ClassDumpKind::throughClass},
    {DomainTypeOf("XC"), ClassDumpKind::nothing},  // the file list of a CNOD
    {DomainTypeOf("XR"), ClassDumpKind::nothing},  // the file list of an RNOD
};

const ClassDumpRow* FindRow(std::uint16_t type) {
  const auto* found = std::lower_bound(
      std::begin(kClassDumpTypes), std::end(kClassDumpTypes), type,
      [](const ClassDumpRow& row, std::uint16_t wanted) { return row.type < wanted; });
  return found != std::end(kClassDumpTypes) && found->type == type ? found : nullptr;
}

// The object number of a data-set name: the decimal number in the two places after the
// extension's letter ("C01" gives 1); 0 without a '.' or digits there.
std::uint16_t ObjectNumberFromName(const CString& fileName) {
  const std::size_t dot = fileName.find('.');
  std::uint16_t number = 0;
  if (dot == CString::npos) return number;
  for (std::size_t i = dot + 2; i < dot + 4 && i < fileName.size(); ++i) {
    if (fileName[i] < '0' || fileName[i] > '9') break;
    number = static_cast<std::uint16_t>(number * 10 + (fileName[i] - '0'));
  }
  return number;
}

// The host in force, but with the data-set directory of the file being dumped, for as long
// as the object lives. Every other service is the inner host's.
class DirectoryHost : public HostServices {
 public:
  explicit DirectoryHost(CString directory)
      : m_inner(Host()), m_directory(std::move(directory)), m_previous(SetHost(this)) {}
  ~DirectoryHost() override { SetHost(m_previous); }
  DirectoryHost(const DirectoryHost&) = delete;
  DirectoryHost& operator=(const DirectoryHost&) = delete;

  CString DataSetDirectory(const ObjParcelType&) override { return m_directory; }
  CString DataSetName(const ObjParcelType& parcel) override { return m_inner.DataSetName(parcel); }
  int SendMessageToUI(int number, int value, const CString& text) override {
    return m_inner.SendMessageToUI(number, value, text);
  }
  void PumpMessages() override { m_inner.PumpMessages(); }
  CString GetText(int number) override { return m_inner.GetText(number); }
  void ShowMessage(int number, const CString& text) override { m_inner.ShowMessage(number, text); }
  void WriteMessage(int number, const std::vector<VMessageValue>& values) override {
    m_inner.WriteMessage(number, values);
  }
  CString Directory(int kind) override { return m_inner.Directory(kind); }
  std::vector<VLibraryObject> LibraryObjects(VLibraryList list) override {
    return m_inner.LibraryObjects(list);
  }

 private:
  HostServices& m_inner;
  CString m_directory;
  HostServices* m_previous;
};

}  // namespace

namespace {

// The parcel of the domain file at `path` as its common header names it, with the object number
// of its name; raises the header's failure.
ObjParcelType HeaderParcel(const DumpPath& where) {
  const CString hostPath = where.directory + where.fileName;
  VDomainFile file;
  CFileException error;
  if (!file.Open(hostPath, CFile::modeRead | CFile::typeBinary, &error)) {
    AfxThrowFileException(error.m_cause, OpenError(error), hostPath);
  }
  VCommonHeader header;
  header.Read(file);
  file.Close();
  ObjParcelType parcel = file.GetParcel();
  parcel.objectNumber = ObjectNumberFromName(where.fileName);
  parcel.classLetter = 'C';
  return parcel;
}

// The domain object of the parcel's type, or null; a file whose header names another file is
// not the domain (file-not-found). Call with the file's directory as the data-set directory.
std::unique_ptr<VDomain> DomainFor(const ObjParcelType& parcel, const CString& hostPath,
                                   const DomainFactory& factory) {
  std::unique_ptr<VDomain> domain = factory(parcel.domainType);
  if (domain && VDomainPath().FindFile(parcel) != hostPath) {
    AfxThrowFileException(CFileException::fileNotFound, -1, hostPath);
  }
  return domain;
}

}  // namespace

void ReadDomainFile(const CString& path, const DomainFactory& factory) {
  const DumpPath where = SplitDumpPath(path);
  const CString hostPath = where.directory + where.fileName;
  const ObjParcelType parcel = HeaderParcel(where);
  DirectoryHost host(where.directory);
  std::unique_ptr<VDomain> domain = DomainFor(parcel, hostPath, factory);
  if (domain) {
    domain->OpenDomain(parcel, nullptr, kOpenForReading);
    domain->ReadDomain();
    domain->GetFile().Close();
    return;
  }
  // Without a class: the whole file as far as the length of its first word.
  DumpDriverState& state = GetDumpDriverState();
  const int read = ReadCodeFile(hostPath, state);
  if (read == kFileEndsEarly) AfxThrowFileException(CFileException::endOfFile, -1, hostPath);
  if (read != kReadOk) AfxThrowFileException(kReadFailureBase - read, -1, hostPath);
}

void ClassDump(const CString& path, const DomainFactory& factory, VDumpResult* result) {
  VDumpResult unused;
  VDumpResult& outcome = result != nullptr ? *result : unused;
  outcome.reader = "class";
  const DumpPath where = SplitDumpPath(path);
  const CString hostPath = where.directory + where.fileName;
  const ObjParcelType parcel = HeaderParcel(where);
  outcome.type = parcel.domainType;
  const ClassDumpRow* row = FindRow(parcel.domainType);
  if (row == nullptr) AfxThrowFileException(CFileException::fileNotFound, -1, hostPath);
  if (row->kind == ClassDumpKind::nothing) {
    outcome.outcome = VDumpResult::kNoListing;
    outcome.where = "a node's file list has no listing";
    events::Stop(-1, outcome.where);
    return;
  }
  DirectoryHost host(where.directory);
  std::unique_ptr<VDomain> domain = DomainFor(parcel, hostPath, factory);
  if (!domain) AfxThrowFileException(CFileException::fileNotFound, -1, hostPath);
  const CString listing = where.directory + DumpOutputName(where.fileName);
  bool listingBegun = false;
  try {
    domain->OpenDomain(parcel, nullptr, kOpenForReading);
    domain->ReadDomain();
    listingBegun = true;
    domain->WriteDomain(1);
    domain->GetFile().Close();
    outcome.outcome = VDumpResult::kWritten;
    outcome.listing = listing;
  } catch (const CFileException& e) {
    // A damaged domain ends the dump without a listing (a listing cut short would pass for a
    // whole one); the caller of the C interface sees a dump done.
    domain->GetFile().Abort();
    if (listingBegun) {
      try {
        CFile::Remove(listing);
      } catch (const CFileException&) {
        // Never created, or not removable: no listing is reported either way.
      }
    }
    outcome.outcome = VDumpResult::kNotWritten;
    outcome.where = DescribeFileException(e);
    // A sink hears why.
    events::Stop(
        -1, std::string("the domain cannot be read: ") + CFileException::GetCauseText(e.m_cause));
  }
}

}  // namespace morvit
