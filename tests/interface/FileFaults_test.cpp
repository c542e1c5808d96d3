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
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "domains/VDomain.h"
#include "interface/DomainTable.h"
#include "support/DomainBuilders.h"
#include "support/DomainFiles.h"
#include "support/FaultSweep.h"
#include "support/LoggingDatabase.h"
#include "support/NodeFiles.h"

namespace {

using testutil::DirectoryImage;
using testutil::GenerateThroughC;
using testutil::Generation;
using testutil::SweepFault;

struct GenerationPath {
  const char* name;
  std::uint16_t type;
  std::function<std::vector<TSectionInfo>()> records;
  std::size_t files;  // the files the path writes: a row that stops writing them is wrong
  // What the path needs outside the data directory (node files), made once before the sweep.
  std::function<void(testutil::FakeHost&)> prepare = [](testutil::FakeHost&) {};
};

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
std::vector<TSectionInfo> BaseEntries(int entries) {
  std::mt19937 random(78);
  std::vector<TSectionInfo> records;
  for (int key = 0; key < entries; ++key) {
    std::string name(100, ' ');
    for (char& c : name) c = static_cast<char>('!' + random() % 90);
    const auto k = static_cast<std::uint16_t>(key);
    records.push_back(testutil::Entry(k, {k, 1, 2, 3, 4}, name));
    if (key % 50 == 0) records.push_back(testutil::Addition(k, 1, "SETPOINT", "rpm", 7));
  }
  records.push_back(testutil::PageBreak(1, 5, 1, "Drives"));
  return records;
}

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

const GenerationPath kPaths[] = {
    {"NOBA", 3, NobaTexts, 1},
    {"REBA of several parts", 46, [] { return BaseEntries(700); }, 2},
    {"POBA", 78, [] { return BaseEntries(40); }, 1},
    {"CNOD with its file list", 1, NodeRecords, 2, PutNodeFiles},
    {"RNOD with its file list", 44, NodeRecords, 2, PutNodeFiles},
    {"BOBA", 117, BasicObjects, 1},
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
  const std::vector<TSectionInfo> records = path.records();
  path.prepare(host);
  // Beside the new version 2 of object 1: its version 1, object 2's domain, a foreign file.
  ASSERT_EQ(GenerateThroughC(Parcel(path.type, 1, 1), records).finishStatus, 1);
  ASSERT_EQ(GenerateThroughC(Parcel(path.type, 2, 7), records).finishStatus, 1);
  testutil::WriteWholeFile(dir + "NOTES.TXT", {'k', 'e', 'e', 'p'});
  const DirectoryImage before = testutil::ImageOf(dir);

  const Generation reference = GenerateThroughC(Parcel(path.type, 1, 2), records);
  ASSERT_EQ(reference.finishStatus, 1);
  ASSERT_EQ(reference.parcels.size(), path.files);
  const DirectoryImage complete = testutil::ImageOf(dir);
  testutil::RestoreImage(dir, before);

  Generation outcome;
  const std::size_t runs = testutil::SweepFileFaults(
      [&] {
        testutil::RestoreImage(dir, before);
        outcome = GenerateThroughC(Parcel(path.type, 1, 2), records);
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
  EXPECT_GT(runs, 20u);
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

// A child process generates version 2 of a resource base of several parts beside version 1 and
// is killed: at each of its file calls in turn (from inside, at the instant before the call),
// and at moments spread over its run (from outside). Whatever instant it dies at, a search for
// the newest version finds either version 1 or the whole of version 2.
TEST(KillDuringFinish, LeavesThePreviousStateOrTheCompleteNewDomain) {
  testutil::CurrentDirectoryGuard cwd;
  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  const std::string dir = host.DataDirectory();
  ASSERT_EQ(GenerateThroughC(Parcel(46, 1, 1), BaseEntries(650)).finishStatus, 1);
  const DirectoryImage before = testutil::ImageOf(dir);
  const auto previous = NewestBase();
  const std::vector<TSectionInfo> records = BaseEntries(720);

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

  // Kill points: every file call, then eight moments spread over the run.
  constexpr int kMoments = 8;
  for (std::uint64_t point = 1; point <= calls + kMoments; ++point) {
    SCOPED_TRACE("kill point " + std::to_string(point) + " of " + std::to_string(calls));
    testutil::RestoreImage(dir, before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      filefaults::Fault kill;
      kill.nth = point <= calls ? point : 0;
      kill.kill = true;
      filefaults::Arm(kill);
      GenerateThroughC(Parcel(46, 1, 2), records);
      ::_exit(0);
    }
    if (point > calls) {
      std::this_thread::sleep_for(duration * static_cast<int>(point - calls) / (kMoments + 1));
      ::kill(child, SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (point <= calls) {
      EXPECT_TRUE(WIFSIGNALED(status)) << "killed at its call";
    }
    const auto found = NewestBase();
    EXPECT_TRUE(found == previous || found == complete);
  }
  // What killed runs leave under staging names does not hinder the next generation.
  const Generation again = GenerateThroughC(Parcel(46, 1, 2), records);
  EXPECT_EQ(again.finishStatus, 1);
  EXPECT_EQ(NewestBase(), complete);
}

struct ReadingRun {
  const char* name;
  std::uint16_t type;
  std::function<std::vector<TSectionInfo>()> records;
  // Reads the generated domain (object 1, version 1) as the run does, handing it to `database`.
  std::function<void(std::uint16_t type, VDatabase& database)> read;
};

void PrintTo(const ReadingRun& run, std::ostream* out) { *out << run.name; }

void BacktranslateFirst(std::uint16_t type, VDatabase& database) {
  Backtranslate(type, Parcel(type, 1, 1), database);
}

void List(std::uint16_t type, VDatabase&) {
  std::unique_ptr<VDomain> domain = CreateDomainForType(type);
  domain->OpenDomain(Parcel(type, 1, 1), nullptr, kOpenForReading);
  domain->ReadDomain();
  domain->WriteDomain(1);
}

const ReadingRun kReadings[] = {
    {"NOBA back-translation", 3, NobaTexts, BacktranslateFirst},
    {"REBA of several parts back-translation", 46, [] { return BaseEntries(700); },
     BacktranslateFirst},
    {"POBA back-translation", 78, [] { return BaseEntries(40); }, BacktranslateFirst},
    {"POBA listing", 78, [] { return BaseEntries(40); }, List},
    {"BOBA back-translation", 117, BasicObjects, BacktranslateFirst},
};

using ReadFaultTest = FaultTest<ReadingRun>;

TEST_P(ReadFaultTest, ReadFaultFailsTheRunAndChangesNoDomainFile) {
  const ReadingRun& run = GetParam();
  const std::string dir = host.DataDirectory();
  ASSERT_EQ(GenerateThroughC(Parcel(run.type, 1, 1), run.records()).finishStatus, 1);
  const DirectoryImage domain = testutil::ImageOf(dir);
  testutil::LoggingDatabase reference;
  run.read(run.type, reference);
  const DirectoryImage afterReading = testutil::ImageOf(dir);

  testutil::LoggingDatabase database;
  bool failed = false;
  const std::size_t runs = testutil::SweepFileFaults(
      [&] {
        testutil::RestoreImage(dir, domain);
        database = testutil::LoggingDatabase();
        failed = false;
        try {
          run.read(run.type, database);
        } catch (const CFileException&) {
          failed = true;
        }
      },
      [&](const SweepFault& fault, std::uint64_t) {
        if (!failed) {
          EXPECT_EQ(database.calls, reference.calls) << "a run that ends, ends whole";
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
  EXPECT_GT(runs, 10u);
}

INSTANTIATE_TEST_SUITE_P(Runs, ReadFaultTest, ::testing::ValuesIn(kReadings), RowName<ReadingRun>);

}  // namespace
