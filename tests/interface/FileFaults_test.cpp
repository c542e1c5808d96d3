// Generation and reading with each of their file calls failing in turn.
//
// Every generation path run with each of its file calls failing in turn (a full disk, a
// failing medium, refused names, short writes): a finish either reports success with the
// complete domain in place, byte for byte as without the fault, or fails, reports no parcel and
// leaves the data directory exactly as it was: the earlier version, the other object's domain
// and the foreign file untouched, no part, no Z sibling, nothing under a staging name (unless
// the failing call was the very delete that would have removed it).
//
// A new generation path is one row of kPaths.
//
// Every reading run (a domain read and back-translated, or read and listed as the dump does)
// with each file call failing in turn: it either ends as without the fault or raises a file
// exception; it never crashes or hangs, never changes a domain file and leaves no Z sibling.
// A new reading run is one row of kReadings.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "domains/VCbXDomain.h"
#include "domains/VDomain.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/FaultSweep.h"
#include "fixtures/LoggingDatabase.h"
#include "fixtures/NodeFiles.h"
#include "fixtures/ProgramContents.h"
#include "fixtures/ProgramDataSet.h"
#include "interface/DomainTable.h"
#include "morvit/VConfigWriters.h"
#include "morvit/VDataSet.h"
#include "morvit/VManager.h"
#include "morvit/VProgramWriters.h"

namespace morvit {

namespace {

using testutil::DirectoryImage;
using testutil::GenerateThroughC;
using testutil::Generation;
using testutil::SweepFault;

// Generates the path's domain under `parcel` (of the row's type; object number and version
// vary), as its client does.
using Generate = std::function<Generation(const ObjParcelType& parcel)>;

struct GenerationPath {
  const char* name;
  std::uint16_t type;
  Generate generate;
  std::size_t files;  // the files the path writes: a row that stops writing them is wrong
  // What the path needs outside the data directory (node files), made once before the sweep.
  std::function<void(testutil::FakeHost&)> prepare = [](testutil::FakeHost&) {};
};

// Through the C interface, with domains from `factory` if one is given.
Generate ThroughC(std::function<std::vector<TSectionInfo>()> records,
                  VManager::DomainFactory factory = nullptr) {
  return
      [=](const ObjParcelType& parcel) { return GenerateThroughC(parcel, records(), 15, factory); };
}

// Through a writer of the domains that other tools produce; a file exception is its failure.
template <typename Content>
Generate ByWriter(std::vector<ObjParcelType> (*write)(const ObjParcelType&, const Content&),
                  Content (*content)()) {
  return [=](const ObjParcelType& parcel) {
    Generation generation;
    generation.startStatus = 1;
    try {
      generation.parcels = write(parcel, content());
      generation.finishStatus = 1;
    } catch (const CFileException&) {
      generation.finishStatus = 0;
    }
    return generation;
  };
}

void PrintTo(const GenerationPath& path, std::ostream* out) { *out << path.name; }

std::vector<TSectionInfo> NobaTexts() {
  static const char* const kTexts[] = {"PUMP_1", "VALVE 22", "x"};
  std::vector<TSectionInfo> records;
  for (const char* text : kTexts) {
    records.push_back(testutil::NobaText(text, static_cast<std::uint16_t>(std::strlen(text))));
  }
  return records;
}

// Entries with incompressible names: `entries` of 700 give two compressed part files.
// A node of two files found in its first directory kind, both carried into its file list.
std::vector<TSectionInfo> NodeRecords() {
  return {testutil::NodeRecord({{kDirectoryTcData, 7, 0}, 4, 7, "lib", true, "*.PE_"})};
}

void PutNodeFiles(testutil::FakeHost& host) {
  testutil::PutNodeFile(host, kDirectoryTcData, "A.PE_", testutil::TextBytes("xyz"));
  testutil::PutNodeFile(host, kDirectoryTcData, "B.PE_", {});
}

// Basic objects with integer and text terminal values.
std::vector<TSectionInfo> BasicObjects() {
  std::vector<TSectionInfo> records;
  for (std::uint16_t object = 1; object <= 30; ++object) {
    records.push_back(testutil::BobaObject(object, object, 2, 3));
    records.push_back(testutil::BobaTerminal(object, static_cast<std::int16_t>(-object)));
    records.push_back(testutil::BobaTerminal(object, "T" + std::to_string(object)));
  }
  return records;
}

// Element descriptions of a decoder table, inserted as the generating tool hands them over.
std::vector<TSectionInfo> Descriptions() {
  std::vector<TSectionInfo> records;
  for (const TCbxElement& element : testutil::SampleCbd(60).elements) {
    TSectionInfo record{};
    record.kind = VCbXDomain::kKindElement;
    std::memcpy(record.payload, &element, sizeof element);
    records.push_back(record);
  }
  return records;
}

// A decoder table whose files hold a few hundred bytes each, so that a short table spreads over
// several files as a long one does over files of the full size.
class SmallPartCbD : public VCbDDomain {
 public:
  SmallPartCbD() { m_lMaxPartSize = 700; }
};

std::unique_ptr<VDomain> SmallPartDomains(std::uint16_t type) {
  if (type == 114) return std::make_unique<SmallPartCbD>();
  return CreateDomainForType(type);
}

VCodaContent Coda() { return testutil::SampleCoda(); }
VBxdContent Bxd() { return testutil::SampleBxd(); }
VTadeContent Task() { return testutil::SampleTask(); }
VPodeContent Program() { return testutil::ProgramWithPreProgram(); }

const GenerationPath kPaths[] = {
    {"NOBA", 3, ThroughC(NobaTexts), 1},
    {"REBA of several parts", 46, ThroughC([] { return testutil::BaseEntries(700); }), 2},
    {"POBA", 78, ThroughC([] { return testutil::BaseEntries(40); }), 1},
    {"CNOD with its file list", 1, ThroughC(NodeRecords), 2, PutNodeFiles},
    {"RNOD with its file list", 44, ThroughC(NodeRecords), 2, PutNodeFiles},
    {"BOBA", 117, ThroughC(BasicObjects), 1},
    {"CbD over several files", 114, ThroughC(Descriptions, SmallPartDomains), 3},
    {"CODA by its writer", 17, ByWriter(VWriteCoda, Coda), 1},
    {"BxD by its writer", 98, ByWriter(VWriteBxd, Bxd), 1},
    {"TADE by its writer", 49, ByWriter(VWriteTade, Task), 1},
    {"PODE by its writer", 65, ByWriter(VWritePode, Program), 1},
};

ObjParcelType Parcel(std::uint16_t type, std::uint16_t objectNumber, std::uint16_t version) {
  return testutil::DomainParcel(type, objectNumber, version);
}

// Opens the domain of `parcel` for reading, reads it and hands it to `database`.
void Backtranslate(std::uint16_t type, const ObjParcelType& parcel, VDatabase& database) {
  std::unique_ptr<VDomain> domain = CreateDomainForType(type);
  domain->OpenDomain(parcel, &database, kOpenForReading);
  domain->ReadDomain();
  domain->Backtranslate();
}

// The fixture of both sweeps: a fake host with a scratch data directory; rows name the tests.
template <typename Row>
class FaultTest : public ::testing::TestWithParam<Row> {
 protected:
  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
};

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  std::string name = info.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

using FinishFaultTest = FaultTest<GenerationPath>;

TEST_P(FinishFaultTest, FailedFinishLeavesNothingAndReportsNoParcel) {
  const GenerationPath& path = GetParam();
  const std::string dir = host.DataDirectory();
  path.prepare(host);
  // Beside the new version 2 of object 1: its version 1, object 2's domain, a foreign file.
  ASSERT_EQ(path.generate(Parcel(path.type, 1, 1)).finishStatus, 1);
  ASSERT_EQ(path.generate(Parcel(path.type, 2, 7)).finishStatus, 1);
  testutil::WriteWholeFile(dir + "NOTES.TXT", {'k', 'e', 'e', 'p'});
  const DirectoryImage before = testutil::ImageOf(dir);

  const Generation reference = path.generate(Parcel(path.type, 1, 2));
  ASSERT_EQ(reference.finishStatus, 1);
  ASSERT_EQ(reference.parcels.size(), path.files);
  const DirectoryImage complete = testutil::ImageOf(dir);
  testutil::RestoreImage(dir, before);

  Generation outcome;
  const std::size_t runs = testutil::SweepFileFaults(
      [&] {
        testutil::RestoreImage(dir, before);
        outcome = path.generate(Parcel(path.type, 1, 2));
      },
      [&](const SweepFault& fault, std::uint64_t) {
        DirectoryImage left = testutil::ImageOf(dir);
        if (fault.call == filefaults::kRemove) left = testutil::WithoutStagedFiles(left);
        // A start that fails leaves nothing to finish: the finish then has nothing to do.
        if (outcome.startStatus == 1 && outcome.finishStatus == 1) {
          EXPECT_EQ(outcome.parcels.size(), path.files);
          EXPECT_EQ(testutil::Difference(complete, left), "")
              << "a finish that reports success has the whole domain";
        } else {
          EXPECT_TRUE(fault.error != 0) << "a short write alone is written on";
          EXPECT_TRUE(outcome.parcels.empty());
          EXPECT_EQ(testutil::Difference(before, left), "")
              << "a failed finish leaves the directory as it was";
        }
      });
  EXPECT_GE(runs, 10u);
}

// The same version generated again on a disk that has filled up: the earlier file under the
// name stays as it was. (A domain of several parts loses its old first file only when the new
// files are moved in, which a full disk never reaches.)
TEST_P(FinishFaultTest, FailedRegenerationKeepsTheEarlierFile) {
  const GenerationPath& path = GetParam();
  const std::string dir = host.DataDirectory();
  path.prepare(host);
  ASSERT_EQ(path.generate(Parcel(path.type, 1, 1)).finishStatus, 1);
  const DirectoryImage before = testutil::ImageOf(dir);
  filefaults::Fault full;
  full.calls = filefaults::kWrite;
  full.nth = 1;
  full.error = ENOSPC;
  full.persistent = true;
  filefaults::Arm(full);
  const Generation outcome = path.generate(Parcel(path.type, 1, 1));
  filefaults::Disarm();
  EXPECT_NE(outcome.finishStatus, 1);
  EXPECT_EQ(testutil::Difference(before, testutil::ImageOf(dir)), "");
}

INSTANTIATE_TEST_SUITE_P(Paths, FinishFaultTest, ::testing::ValuesIn(kPaths),
                         RowName<GenerationPath>);

// The elements of the resource base of object 1 that a newest-version search finds; one empty
// element when it cannot be read.
std::vector<std::vector<std::uint8_t>> NewestBase() {
  testutil::LoggingDatabase database;
  try {
    Backtranslate(46, Parcel(46, 1, VBASE_ANY_WORD), database);
  } catch (const CFileException& e) {
    ADD_FAILURE() << e.what();
    return {{}};
  }
  return database.elements;
}

// The child of the kill test: generates version 2 of the resource base of `entries` entries
// into the data directory `directory`, killed at its file call `point` (0: not from inside).
struct DirectedHost : testutil::FakeHost {
  CString directory;
  CString DataSetDirectory(const ObjParcelType&) override { return directory; }
};

void GenerateUntilKilled(const std::vector<std::string>& arguments) {
  DirectedHost host;
  host.directory = arguments.at(0);
  testutil::ScopedHost scoped{host};
  filefaults::Fault kill;
  kill.nth = std::stoull(arguments.at(1));
  kill.kill = true;
  filefaults::Arm(kill);
  const std::uint16_t version =
      arguments.size() > 3 ? static_cast<std::uint16_t>(std::stoi(arguments.at(3))) : 2;
  GenerateThroughC(Parcel(46, 1, version), testutil::BaseEntries(std::stoi(arguments.at(2))));
}
const testutil::ChildRegistration kGenerateUntilKilled{"generate-until-killed",
                                                       &GenerateUntilKilled};

// A child process generates version 2 of a resource base of several parts beside version 1 and
// is killed: at each of its file calls in turn (from inside, at the instant before the call),
// and at moments spread over its run (from outside). Whatever instant it dies at, a search for
// the newest version finds either version 1 or the whole of version 2.
TEST(KillDuringFinish, LeavesThePreviousStateOrTheCompleteNewDomain) {
  testutil::CurrentDirectoryGuard cwd;
  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  const std::string dir = host.DataDirectory();
  ASSERT_EQ(GenerateThroughC(Parcel(46, 1, 1), testutil::BaseEntries(650)).finishStatus, 1);
  const DirectoryImage before = testutil::ImageOf(dir);
  const auto previous = NewestBase();
  constexpr int kEntries = 720;
  const std::vector<TSectionInfo> records = testutil::BaseEntries(kEntries);

  filefaults::Arm({});
  const auto started = std::chrono::steady_clock::now();
  const Generation reference = GenerateThroughC(Parcel(46, 1, 2), records);
  const auto duration = std::chrono::steady_clock::now() - started;
  const std::uint64_t calls = filefaults::CallsSeen();
  filefaults::Disarm();
  ASSERT_EQ(reference.finishStatus, 1);
  ASSERT_GE(reference.parcels.size(), 2u);
  const auto complete = NewestBase();
  ASSERT_NE(complete, previous);
  testutil::RestoreImage(dir, before);
  // The child's own run, started and left to end, gives the complete domain: the child works.
  {
    testutil::ChildProcess child("generate-until-killed", {dir, "0", std::to_string(kEntries)});
    ASSERT_EQ(child.Wait(), 0);
    ASSERT_EQ(NewestBase(), complete);
  }

  // Kill points: every file call, then eight moments spread over the run (measured from the
  // child's start, so that its start-up time counts as well).
  constexpr int kMoments = 8;
  for (std::uint64_t point = 1; point <= calls + kMoments; ++point) {
    SCOPED_TRACE("kill point " + std::to_string(point) + " of " + std::to_string(calls));
    testutil::RestoreImage(dir, before);
    const std::uint64_t inside = point <= calls ? point : 0;
    testutil::ChildProcess child("generate-until-killed",
                                 {dir, std::to_string(inside), std::to_string(kEntries)});
    if (point > calls) {
      std::this_thread::sleep_for(duration * static_cast<int>(point - calls) / (kMoments + 1));
      child.Kill();
    }
    const int status = child.Wait();
    if (point <= calls) {
      EXPECT_EQ(status, testutil::kKilledStatus) << "killed at its call";
    }
    const auto found = NewestBase();
    EXPECT_TRUE(found == previous || found == complete);
  }
  // What killed runs leave under staging names does not hinder the next generation.
  const Generation again = GenerateThroughC(Parcel(46, 1, 2), records);
  EXPECT_EQ(again.finishStatus, 1);
  EXPECT_EQ(NewestBase(), complete);
}

// Version 1 of several parts replaced by a version 1 of one part, the child killed at each of
// its file calls: a reader finds the old set or the new set whole, and once the data set has
// been read no part of the old set is left beside the new one.
TEST(KillDuringReplacement, LeavesTheOldSetOrTheNewSetAndNoStalePart) {
  testutil::CurrentDirectoryGuard cwd;
  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  const std::string dir = host.DataDirectory();
  ASSERT_EQ(GenerateThroughC(Parcel(46, 1, 1), testutil::BaseEntries(720)).finishStatus, 1);
  const DirectoryImage before = testutil::ImageOf(dir);
  const auto previous = NewestBase();
  ASSERT_EQ(VReadDataSet(dir).domains.at(0).parts.size(), 2u);
  filefaults::Arm({});
  ASSERT_EQ(GenerateThroughC(Parcel(46, 1, 1), testutil::BaseEntries(10)).finishStatus, 1);
  const std::uint64_t calls = filefaults::CallsSeen();
  filefaults::Disarm();
  const auto complete = NewestBase();
  ASSERT_NE(complete, previous);
  const auto domainsOf = [&dir] {
    std::vector<std::string> seen;
    for (const VDataSetDomain& d : VReadDataSet(dir).domains) {
      seen.push_back(d.file + " " + std::to_string(d.parts.size()) + " " + VDescribeVerdict(d));
    }
    return seen;
  };
  const std::vector<std::string> newSet = {"RB000001.C01 1 sound"};
  const std::vector<std::string> oldSet = {"RB000001.C01 2 sound"};
  ASSERT_EQ(domainsOf(), newSet);
  for (std::uint64_t point = 1; point <= calls; ++point) {
    SCOPED_TRACE("kill point " + std::to_string(point) + " of " + std::to_string(calls));
    testutil::RestoreImage(dir, before);
    testutil::ChildProcess child("generate-until-killed", {dir, std::to_string(point), "10", "1"});
    EXPECT_EQ(child.Wait(), testutil::kKilledStatus);
    const std::vector<std::string> seen = domainsOf();
    EXPECT_TRUE(seen == oldSet || seen == newSet) << ::testing::PrintToString(seen);
    const auto found = NewestBase();
    EXPECT_TRUE(found == (seen == oldSet ? previous : complete));
  }
}

// What a reading run handed on: the database's calls, or the files a node run restored.
using Outcome = std::vector<std::string>;

struct ReadingRun {
  const char* name;
  // Writes the domains the run reads into the data directory.
  std::function<void(testutil::FakeHost&)> write;
  // Runs it; a run that stops raises CFileException.
  std::function<Outcome(testutil::FakeHost&)> read;
};

void PrintTo(const ReadingRun& run, std::ostream* out) { *out << run.name; }

std::function<void(testutil::FakeHost&)> Generated(
    std::uint16_t type, std::function<std::vector<TSectionInfo>()> records) {
  return [=](testutil::FakeHost&) {
    ASSERT_EQ(GenerateThroughC(Parcel(type, 1, 1), records()).finishStatus, 1);
  };
}

std::function<Outcome(testutil::FakeHost&)> BacktranslateFirst(std::uint16_t type) {
  return [=](testutil::FakeHost&) {
    testutil::LoggingDatabase database;
    Backtranslate(type, Parcel(type, 1, 1), database);
    return database.calls;
  };
}

Outcome ListFirstPoba(testutil::FakeHost&) {
  std::unique_ptr<VDomain> domain = CreateDomainForType(78);
  domain->OpenDomain(Parcel(78, 1, 1), nullptr, kOpenForReading);
  domain->ReadDomain();
  domain->WriteDomain(1);
  return {};
}

// The listing of a COIO file, made by the dump driver; a listing that reports a failed read, or
// none at all, is a failed run.
void WriteCoio(testutil::FakeHost&) { VWriteCoio(Parcel(26, 1, 1), testutil::SampleCoio()); }

Outcome DumpCoio(testutil::FakeHost& host) {
  std::string path = testutil::DomainFilePath(host, Parcel(26, 1, 1), 0);
  VBase_DumpDomain(static_cast<std::uint16_t>(path.size()), path.c_str());
  path[path.rfind('.') + 1] = 'D';
  if (!std::filesystem::exists(path)) {
    AfxThrowFileException(CFileException::genericException, -1, "no listing");
  }
  const testutil::Bytes listing = testutil::ReadWholeFile(path);
  const std::string text(listing.begin(), listing.end());
  if (text.find("return from file_read") != std::string::npos) {
    AfxThrowFileException(CFileException::genericException, -1, "read failure listed");
  }
  return {text};
}

// A run that reports a stop fails as a file fault does.
void Completed(int result) {
  if (result != 1) AfxThrowFileException(CFileException::genericException, -1, "the run stopped");
}

// A node of two files packed into a CNOD and an RNOD; the files are restored from the domains.
void WriteNode(testutil::FakeHost& host) {
  PutNodeFiles(host);
  testutil::PutNodeFile(host, kDirectoryControl, "NODE.INI", testutil::TextBytes("[node]"));
  ASSERT_EQ(GenerateThroughC(Parcel(1, 1, 1), NodeRecords()).finishStatus, 1);
  ASSERT_EQ(GenerateThroughC(
                Parcel(44, 1, 1),
                {testutil::NodeRecord(
                    {{kDirectoryControl, 0, 0}, kDirectoryControl, 0, "", true, "NODE.INI"})})
                .finishStatus,
            1);
}

Outcome RestoreNode(testutil::FakeHost& host) {
  namespace fs = std::filesystem;
  const fs::path project = std::string(host.ProjectDirectory());
  for (const auto& entry : fs::directory_iterator(project)) fs::remove_all(entry.path());
  CString nodeName;
  Completed(VManager().NodeBacktranslate(nodeName, 0));
  Outcome restored = {nodeName};
  for (const auto& entry : fs::recursive_directory_iterator(project)) {
    if (!entry.is_regular_file()) continue;
    const testutil::Bytes bytes = testutil::ReadWholeFile(entry.path().string());
    restored.push_back(fs::relative(entry.path(), project).string() + " " +
                       std::string(bytes.begin(), bytes.end()));
  }
  return restored;
}

// The node's library files as the object database holds them.
void WriteNodeOfKnownLibraries(testutil::FakeHost& host) {
  WriteNode(host);
  host.SetLibraryObjects(VLibraryList::kPcLibraries, {{"A", "", 7}, {"B", "", 7}});
}

Outcome CheckLibraries(testutil::FakeHost&) {
  Completed(VManager().LibsODBSuitLibsTarget());
  return {};
}

Outcome DatabaseRun(testutil::FakeHost&) {
  testutil::LoggingDatabase database;
  Completed(VManager(&database).DBBacktranslate());
  return database.calls;
}

// The program's domains without its load files, which the run deletes before it rebuilds them.
void WriteProgramDomains(testutil::FakeHost& host) {
  testutil::WriteProgramDataSet(2);
  for (const auto& entry : std::filesystem::directory_iterator(std::string(host.DataDirectory()))) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("PO") || name.starts_with("RL")) std::filesystem::remove(entry.path());
  }
}

Outcome ProgramRun(testutil::FakeHost&) {
  testutil::LoggingDatabase database;
  database.pcProgramNumber = testutil::kSampleProgram;
  database.answers["GetMaxTask"] = 2;
  Completed(VManager(&database).PCBacktranslate());
  return database.calls;
}

const ReadingRun kReadings[] = {
    {"NOBA back-translation", Generated(3, NobaTexts), BacktranslateFirst(3)},
    {"REBA of several parts back-translation",
     Generated(46, [] { return testutil::BaseEntries(700); }), BacktranslateFirst(46)},
    {"POBA back-translation", Generated(78, [] { return testutil::BaseEntries(40); }),
     BacktranslateFirst(78)},
    {"POBA listing", Generated(78, [] { return testutil::BaseEntries(40); }), ListFirstPoba},
    {"COIO listing by the dump driver", WriteCoio, DumpCoio},
    {"BOBA back-translation", Generated(117, BasicObjects), BacktranslateFirst(117)},
    {"node run", WriteNode, RestoreNode},
    {"library check", WriteNodeOfKnownLibraries, CheckLibraries},
    {"database run", [](testutil::FakeHost&) { testutil::WriteConfigDataSet(40); }, DatabaseRun},
    {"PC program run", WriteProgramDomains, ProgramRun},
};

using ReadFaultTest = FaultTest<ReadingRun>;

TEST_P(ReadFaultTest, ReadFaultFailsTheRunAndChangesNoDomainFile) {
  const ReadingRun& run = GetParam();
  const std::string dir = host.DataDirectory();
  run.write(host);
  const DirectoryImage domain = testutil::ImageOf(dir);
  const Outcome reference = run.read(host);
  const DirectoryImage afterReading = testutil::ImageOf(dir);

  Outcome outcome;
  bool failed = false;
  const std::size_t runs = testutil::SweepFileFaults(
      [&] {
        testutil::RestoreImage(dir, domain);
        failed = false;
        try {
          outcome = run.read(host);
        } catch (const CFileException&) {
          failed = true;
        }
      },
      [&](const SweepFault& fault, std::uint64_t) {
        if (!failed) {
          EXPECT_EQ(outcome, reference) << "a run that ends, ends whole";
        }
        if (fault.call == filefaults::kRead) {
          EXPECT_TRUE(failed) << "every read is needed";
        }
        DirectoryImage left = testutil::ImageOf(dir);
        for (const auto& [name, bytes] : domain) {
          EXPECT_TRUE(left[name] == bytes) << name << " is never changed by reading";
        }
        for (const auto& [name, bytes] : left) {
          EXPECT_EQ(name.find(".Z"), std::string::npos) << "scratch file left: " << name;
          if (name.find(".X") != std::string::npos) {
            EXPECT_TRUE(bytes == afterReading.at(name)) << "an expanded copy is whole: " << name;
          }
        }
      });
  EXPECT_GT(runs, 0u) << "the run makes file calls";
}

INSTANTIATE_TEST_SUITE_P(Runs, ReadFaultTest, ::testing::ValuesIn(kReadings), RowName<ReadingRun>);

}  // namespace

}  // namespace morvit
