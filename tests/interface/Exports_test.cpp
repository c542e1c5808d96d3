// The generation exports and the manager behind them, driven with a test-only domain class:
// status codes for every cause, parcel-count semantics, start/finish/delete life cycle.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "domains/VDomain.h"
#include "dump/ListingSwitches.h"
#include "fixtures/TestUtil.h"
#include "interface/Status.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

namespace morvit {

namespace {

// A domain that owns one scratch file per parcel and reports `files` parcels when closed; it
// can be told to fail with a cause while writing.
struct FakeDomainConfig {
  std::string directory;
  int files = 1;
  int failCause = -1;                    // cause raised by WriteDomain, -1 for none
  bool throwOther = false;               // raise a non-file exception from WriteDomain
  int* destroyed = nullptr;              // counts destroyed domains
  std::vector<int>* inserted = nullptr;  // kinds of inserted sections
};

class FakeDomain : public VDomain {
 public:
  explicit FakeDomain(const FakeDomainConfig& config) : m_config(config) {}
  ~FakeDomain() override {
    if (m_config.destroyed) ++*m_config.destroyed;
  }

  // Opens its own scratch file instead of the parcel's domain file.
  void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) override {
    m_pDatabase = database;
    m_parcel = parcel;
    m_path = m_config.directory + "/domain" + std::to_string(parcel.domainType);
    CFileException error;
    if (!m_file.Open(m_path, mode, &error)) throw error;
  }
  void InsertSection(TSectionInfo* section) override {
    if (m_config.inserted) m_config.inserted->push_back(section->kind);
  }
  void WriteDomain(int) override {
    if (m_config.throwOther) throw std::runtime_error("not a file failure");
    if (m_config.failCause >= 0) AfxThrowFileException(m_config.failCause);
    const std::uint8_t body[4] = {1, 2, 3, 4};
    m_file.Write(body, 4);
  }
  void CloseDomain(std::uint16_t* count, std::uint16_t highest, ObjParcelType* parcels) override {
    m_file.Close();
    for (int i = 0; i < m_config.files; ++i) {
      if (*count > highest) AfxThrowFileException(CFileException::genericException);
      ObjParcelType parcel = m_parcel;
      parcel.scope = static_cast<std::uint16_t>(i);
      parcels[(*count)++] = parcel;
    }
  }
  void RemoveDomain() override {
    m_file.Close();
    CFile::Remove(m_path);
  }

 private:
  FakeDomainConfig m_config;
  ObjParcelType m_parcel{};
  std::string m_path;
  CFile m_file;
};

ObjParcelType Parcel(std::uint16_t type, std::uint16_t object = 1) {
  ObjParcelType parcel{};
  parcel.objectNumber = object;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  return parcel;
}

class GenerationTest : public ::testing::Test {
 protected:
  VManager* NewManager() {
    // Type 7 and 9 have a (fake) class; every other number has none.
    return new VManager(nullptr, [this](std::uint16_t type) -> std::unique_ptr<VDomain> {
      if (type != 7 && type != 9) return nullptr;
      return std::make_unique<FakeDomain>(config);
    });
  }
  bool Exists(std::uint16_t type) const {
    return std::filesystem::exists(dir.path() / ("domain" + std::to_string(type)));
  }

  testutil::ScratchDir dir;
  FakeDomainConfig config{dir.path().string()};
};

TEST_F(GenerationTest, PutFinishExStatusForEveryCause) {
  const struct {
    int cause;
    std::int16_t status;
  } rows[] = {
      {CFileException::none, -706},
      {CFileException::genericException, -107},
      {CFileException::fileNotFound, -702},
      {CFileException::badPath, -701},
      {CFileException::tooManyOpenFiles, -706},
      {CFileException::accessDenied, -703},
      {CFileException::invalidFile, -706},
      {CFileException::removeCurrentDir, -706},
      {CFileException::directoryFull, -705},
      {CFileException::badSeek, -706},
      {CFileException::hardIO, -706},
      {CFileException::sharingViolation, -706},
      {CFileException::lockViolation, -706},
      {CFileException::diskFull, -706},
      {CFileException::endOfFile, -708},
      {99, -706},
  };
  for (const auto& row : rows) {
    config.failCause = row.cause;
    VManager* manager = NewManager();
    ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
    ObjParcelType parcels[4] = {Parcel(7)};  // the generic status names parcels[0]'s type
    std::uint16_t count = 3;
    EXPECT_EQ(VBase_PutFinishEx(manager, 9, &count, 3, parcels), row.status) << row.cause;
    EXPECT_EQ(manager->FindDomain(9), nullptr) << "a failed finish still frees the domain";
    VBase_DeleteManager(&manager);
  }
}

// Every status and every file-exception cause has words of its own, never a bare number.
TEST(StatusWords, EveryStatusAndCauseIsNamed) {
  const std::pair<std::int16_t, const char*> statuses[] = {
      {1, "success"},
      {-701, "bad path"},
      {-702, "not found"},
      {-703, "access denied"},
      {-705, "directory is full"},
      {-706, "the step failed"},
      {-708, "ended early"},
      {-146, "exceed 65,535 bytes"},
      {-355, "breaks a limit of its type"},
      {-356, "unknown status"},
      {0, "unknown status"},
  };
  for (const auto& [status, words] : statuses) {
    EXPECT_NE(std::string(VBase_StatusText(status)).find(words), std::string::npos) << status;
  }
  std::set<std::string> described;
  for (int cause = CFileException::none; cause <= CFileException::endOfFile; ++cause) {
    described.insert(DescribeFileException(CFileException(cause, -1, "F.C01")));
  }
  EXPECT_EQ(described.size(), 15u);
  EXPECT_EQ(DescribeFileException(CFileException(CFileException::accessDenied, EACCES, "D")),
            "D: access denied (Permission denied)");
  EXPECT_EQ(DescribeFileException(CFileException(99, -1, "")), "failed (unknown cause 99)");
}

TEST_F(GenerationTest, GenericStatusUsesSixteenBitArithmetic) {
  ObjParcelType parcels[1] = {Parcel(0)};
  EXPECT_EQ(StatusFromCause(CFileException::genericException, parcels), -100);
  parcels[0].domainType = 3;
  EXPECT_EQ(StatusFromCause(CFileException::genericException, parcels), -103);
  parcels[0].domainType = 0xFFFF;  // -100 - 65535 wraps to -99 in 16 bits
  EXPECT_EQ(StatusFromCause(CFileException::genericException, parcels), -99);
}

TEST_F(GenerationTest, OtherEntriesGiveFileFailureForAnyCause) {
  for (int cause :
       {CFileException::badPath, CFileException::endOfFile, CFileException::genericException}) {
    config.failCause = cause;
    VManager* manager = NewManager();
    ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
    ObjParcelType parcels[2] = {};
    EXPECT_EQ(VBase_PutFinish(manager, 9, parcels), -706) << cause;
    VBase_DeleteManager(&manager);
  }
  // A start whose file cannot be created, and non-file failures.
  config.failCause = -1;
  config.directory = dir.File("missing-dir");
  VManager* manager = NewManager();
  EXPECT_EQ(VBase_PutStartEx(manager, 9, Parcel(9)), -706);
  EXPECT_EQ(manager->FindDomain(9), nullptr);
  config.directory = dir.path().string();
  config.throwOther = true;
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  std::uint16_t count = 0;
  ObjParcelType parcels[2] = {};
  EXPECT_EQ(VBase_PutFinishEx(manager, 9, &count, 1, parcels), -706);
  VBase_DeleteManager(&manager);
}

TEST_F(GenerationTest, ParcelCountSemantics) {
  VManager* manager = NewManager();
  ObjParcelType parcels[3] = {};
  std::uint16_t count = 0;

  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  EXPECT_EQ(VBase_PutFinishEx(manager, 9, &count, 0, parcels), 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(parcels[0].domainType, 9);

  config.files = 2;  // one continuation file: no room at highest index 0
  ASSERT_EQ(VBase_PutStart(manager, 7, Parcel(7)), 1);
  count = 77;
  EXPECT_EQ(VBase_PutFinishEx(manager, 7, &count, 0, parcels), -107);
  EXPECT_EQ(count, 0) << "no parcel for a domain whose files are not all written";
  EXPECT_EQ(parcels[0].domainType, 7) << "the entry that names the type for the status stays";

  ASSERT_EQ(VBase_PutStart(manager, 7, Parcel(7)), 1);
  EXPECT_EQ(VBase_PutFinishEx(manager, 7, &count, 1, parcels), 1);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(parcels[1].scope, 1);

  count = 5;
  EXPECT_EQ(VBase_PutFinishEx(manager, 7, &count, 5, parcels), 1) << "never started";
  EXPECT_EQ(count, 0);

  config.files = 3;  // PutFinish offers room for two parcels only
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  EXPECT_EQ(VBase_PutFinish(manager, 9, parcels), -706);
  config.files = 2;
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  EXPECT_EQ(VBase_PutFinish(manager, 9, parcels), 1);
  VBase_DeleteManager(&manager);
}

TEST_F(GenerationTest, SecondStartKeepsTheFirstDomain) {
  VManager* manager = NewManager();
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9, 1)), 1);
  VDomain* first = manager->FindDomain(9);
  EXPECT_EQ(VBase_PutStart(manager, 9, Parcel(9, 2)), 1);
  EXPECT_EQ(manager->FindDomain(9), first);
  ObjParcelType parcels[2] = {};
  std::uint16_t count = 0;
  ASSERT_EQ(VBase_PutFinishEx(manager, 9, &count, 1, parcels), 1);
  EXPECT_EQ(parcels[0].objectNumber, 1);
  VBase_DeleteManager(&manager);
}

TEST_F(GenerationTest, TypesWithoutClassOrNotOpenAreNoFailure) {
  std::vector<int> inserted;
  config.inserted = &inserted;
  VManager* manager = NewManager();
  TSectionInfo section{};
  section.kind = 5;
  EXPECT_EQ(VBase_PutStart(manager, 2, Parcel(2)), 1);
  EXPECT_EQ(manager->FindDomain(2), nullptr);
  EXPECT_EQ(VBase_Insert(manager, 2, &section), 1);
  EXPECT_EQ(VBase_Insert(manager, 9, &section), 1);
  EXPECT_TRUE(inserted.empty());
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  EXPECT_EQ(VBase_Insert(manager, 9, &section), 1);
  EXPECT_EQ(inserted, std::vector<int>{5});
  VBase_DeleteManager(&manager);
}

TEST_F(GenerationTest, DeletingTheManagerRemovesOpenDomainFiles) {
  int destroyed = 0;
  config.destroyed = &destroyed;
  VManager* manager = NewManager();
  ASSERT_EQ(VBase_PutStart(manager, 7, Parcel(7)), 1);
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  EXPECT_TRUE(Exists(7));
  EXPECT_TRUE(Exists(9));
  VBase_DeleteManager(&manager);
  EXPECT_EQ(manager, nullptr);
  EXPECT_FALSE(Exists(7));
  EXPECT_FALSE(Exists(9));
  EXPECT_EQ(destroyed, 2);
}

TEST_F(GenerationTest, FinishedDomainFilesStay) {
  VManager* manager = NewManager();
  ASSERT_EQ(VBase_PutStart(manager, 9, Parcel(9)), 1);
  ObjParcelType parcels[2] = {};
  ASSERT_EQ(VBase_PutFinish(manager, 9, parcels), 1);
  VBase_DeleteManager(&manager);
  EXPECT_TRUE(Exists(9));
}

TEST(ExportsBoundary, NullArgumentsAreRefusedNotDereferenced) {
  VBase_Body();
  VManager* none = nullptr;
  VBase_DeleteManager(&none);
  EXPECT_EQ(none, nullptr);
  VBase_DeleteManager(nullptr);
  EXPECT_EQ(VBase_PutStart(nullptr, 3, ObjParcelType{}), -706);
  EXPECT_EQ(VBase_Insert(nullptr, 3, nullptr), -706);
  EXPECT_EQ(VBase_PutFinish(nullptr, 3, nullptr), -706);
  EXPECT_EQ(VBase_PutFinishEx(nullptr, 3, nullptr, 0, nullptr), -706);
  VManager* manager = VBase_CreateManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetDatabase(), nullptr);
  EXPECT_EQ(VBase_PutStart(manager, 2, ObjParcelType{}), 1) << "type 2 has no class";
  EXPECT_EQ(VBase_PutStart(manager, 119, ObjParcelType{}), 1) << "type 119 has no class";
  EXPECT_EQ(manager->FindDomain(2), nullptr);
  VBase_DeleteManager(&manager);
}

TEST(ListingSwitchExports, FlagsMapToSwitches) {
  const ListingSwitches saved = GetListingSwitches();
  VBase_EnableTimeOutput(0);
  EXPECT_TRUE(GetListingSwitches().suppressTimes);
  VBase_EnableTimeOutput(1);
  EXPECT_FALSE(GetListingSwitches().suppressTimes);
  VBase_EnableLineNumbers(0);
  EXPECT_FALSE(GetListingSwitches().lineNumbers);
  VBase_EnableLineNumbers(2);
  EXPECT_TRUE(GetListingSwitches().lineNumbers);
  GetListingSwitches() = saved;
}

TEST(DomainInterface, BaseDefaults) {
  VDomain domain;
  CString name = "kept";
  domain.GetName(name);
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(domain.Backtranslate(), 1);
  EXPECT_TRUE(domain.IsKindOf(RUNTIME_CLASS(VDomain)));
  EXPECT_STREQ(domain.GetRuntimeClass()->m_lpszClassName, "VDomain");
  EXPECT_EQ(domain.GetRuntimeClass()->m_wSchema, 0xFFFFu);
}

}  // namespace

}  // namespace morvit
