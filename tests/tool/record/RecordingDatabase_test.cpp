// The recording database on its own: the rows that calls leave in SQLite and in JSON lines,
// the answers it gives, and one committed transaction per domain file.
#include "record/RecordingDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>

#include "fixtures/TestUtil.h"
#include "morvit/VElement.h"
#include "record/JsonLinesSink.h"
#include "record/SqliteSink.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using morvit::tool::DatabaseAnswers;
using morvit::tool::JsonLinesSink;
using morvit::tool::RecordingDatabase;
using morvit::tool::SqliteSink;

// The result rows of `sql` on the database at `path`, columns joined by '|', one row a line.
std::string Query(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  std::string rows;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const auto* text = sqlite3_column_text(statement, i);
        rows += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "~");
      }
      rows += "\n";
    }
  } else {
    rows = sqlite3_errmsg(db);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

// A short run of calls across two domain files.
void DriveRun(RecordingDatabase& database) {
  database.SetDomainFile("RB000001.C01");
  database.Initialize();
  VElement element(46);
  const std::uint8_t bytes[] = {0x00, 0x18, 0xAB};
  element.Write(bytes, sizeof bytes);
  element.SetAuxWord(7);
  database.Insert(0xFFFF, &element);
  TCbxElement description{};
  description.typeIndex = 2;
  description.sizeOfFB = 40;
  std::memcpy(description.name, "PUMP", 4);
  std::memset(description.enumText[0], 'E', sizeof description.enumText[0]);  // no terminator
  description.byteOffsetCODA = 12;
  char text[] = "Pump state";
  database.Update(text, description);
  database.SetDomainFile("PB000001.C01");
  ObjParcelType parcel{};
  parcel.domainType = 35;
  parcel.version = 4;
  parcel.objectNumber = 1;
  database.ClearSort(&parcel);
  database.SetObjectId(ObjId{49, 3, 2});
  unsigned short number = 0;
  database.GetPCProgNo(&number);
  database.SetAdditionalInfo(1792);
  database.Finish("pc", 0);
}

TEST(RecordingDatabase, RowsInSqliteAndJsonLines) {
  testutil::ScratchDir dir;
  SqliteSink sqlite(dir.File("run.sqlite"));
  JsonLinesSink json(dir.File("run.jsonl"));
  DatabaseAnswers answers;
  ASSERT_TRUE(answers.Set("GetPCProgNo", 1));
  RecordingDatabase database({&sqlite, &json}, answers,
                             [](std::uint16_t code) { return code == 46 ? "FORTY-SIX" : ""; });
  DriveRun(database);

  const std::string db = dir.File("run.sqlite");
  EXPECT_EQ(Query(db, "SELECT * FROM calls ORDER BY seq"),
            "1|RB000001.C01|Initialize|~|~\n"
            "2|RB000001.C01|Insert|{\"code\":65535}|~\n"
            "3|RB000001.C01|Update|{\"text\":\"Pump state\",\"typeIndex\":2}|~\n"
            "4|PB000001.C01|ClearSort|~|~\n"
            "5|PB000001.C01|SetObjectId|{\"domainType\":49,\"scope\":3,\"version\":2}|~\n"
            "6|PB000001.C01|GetPCProgNo|{\"number\":1}|1\n"
            "7|PB000001.C01|SetAdditionalInfo|{\"info\":1792}|~\n");
  EXPECT_EQ(Query(db,
                  "SELECT seq, domain_file, operation, code, element_code, code_name, "
                  "aux_word, length, hex(bytes) FROM elements"),
            "2|RB000001.C01|Insert|65535|46|FORTY-SIX|7|3|0018AB\n");
  EXPECT_EQ(Query(db,
                  "SELECT seq, text, type_index, size_of_fb, name, enum_text_1, "
                  "enum_text_2, byte_offset_coda FROM decoder_records"),
            "3|Pump state|2|40|PUMP|" + std::string(21, 'E') + "||12\n");
  EXPECT_EQ(Query(db, "SELECT * FROM objects"),
            "4|PB000001.C01|ClearSort|35|0|4|1\n"
            "5|PB000001.C01|SetObjectId|49|3|2|~\n");
  EXPECT_EQ(Query(db, "SELECT * FROM run"), "pc|0\n");

  const std::string lines = tooltest::ReadText(dir.File("run.jsonl"));
  EXPECT_NE(lines.find("{\"table\":\"elements\",\"seq\":2,\"domain_file\":\"RB000001.C01\","
                       "\"operation\":\"Insert\",\"code\":65535,\"element_code\":46,"
                       "\"code_name\":\"FORTY-SIX\",\"aux_word\":7,\"length\":3,"
                       "\"bytes\":\"0018ab\"}\n"),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find("{\"table\":\"calls\",\"seq\":6,\"domain_file\":\"PB000001.C01\","
                       "\"operation\":\"GetPCProgNo\",\"arguments\":{\"number\":1},"
                       "\"answer\":1}\n"),
            std::string::npos)
      << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 7 + 1 + 1 + 2 + 1);
}

// A run stopped in its second domain file (the process ends without Finish) keeps the first.
TEST(RecordingDatabase, EveryFinishedDomainFileIsCommitted) {
  testutil::ScratchDir dir;
  auto sqlite = std::make_unique<SqliteSink>(dir.File("run.sqlite"));
  RecordingDatabase database({sqlite.get()}, DatabaseAnswers{});
  database.SetDomainFile("NB000001.C01");
  database.Initialize();
  database.SetDomainFile("RB000001.C01");
  database.Save();
  EXPECT_EQ(Query(dir.File("run.sqlite"), "SELECT domain_file, operation FROM calls"),
            "NB000001.C01|Initialize\n");
  sqlite.reset();  // abandoned: the open transaction is rolled back
  EXPECT_EQ(Query(dir.File("run.sqlite"), "SELECT count(*) FROM calls"), "1\n");
}

// Without settings the answers are the library's: a run behaves as with its own database.
TEST(RecordingDatabase, AnswersDefaultToTheLibrarysAndFollowSettings) {
  RecordingDatabase plain({}, DatabaseAnswers{});
  unsigned short number = 77;
  EXPECT_EQ(plain.GetMaxTask(), 64);
  EXPECT_EQ(plain.GetPCProgNo(&number), 0);
  EXPECT_EQ(number, 77);
  EXPECT_EQ(plain.RestoreTypeCircuits(), 1);
  EXPECT_EQ(plain.PCTCRestored(), 0);
  EXPECT_EQ(plain.GenerateBoteDomain(), 1);
  EXPECT_EQ(plain.IsAdditionalInfo(7), 0);

  DatabaseAnswers answers;
  for (const auto& [name, value] : std::vector<std::pair<std::string, long>>{
           {"GetMaxTask", 3}, {"GetPCProgNo", 5}, {"PCTCRestored", 1}, {"CompleteRIOs", 0}}) {
    EXPECT_TRUE(answers.Set(name, value)) << name;
  }
  EXPECT_FALSE(answers.Set("GetMaxTask", 70000));
  EXPECT_FALSE(answers.Set("Frobnicate", 1));
  RecordingDatabase set({}, answers);
  EXPECT_EQ(set.GetMaxTask(), 3);
  EXPECT_EQ(set.GetPCProgNo(&number), 1);
  EXPECT_EQ(number, 5);
  EXPECT_EQ(set.PCTCRestored(), 1);
  EXPECT_EQ(set.CompleteRIOs(), 0);
}

}  // namespace

}  // namespace morvit
