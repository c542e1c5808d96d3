// `morvit backtranslate db` on the example job's configuration data set: the calls in order,
// the elements and decoder-table records in their tables, and a run stopped by an answer.
#include <gtest/gtest.h>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::Query;

TEST(DbBacktranslate, ExampleDataSetIsRecordedAndAStopAnswerFailsTheRun) {
  testutil::ScratchDir dir;
  ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0);
  const auto result = tooltest::RunTool(dir.path(), "backtranslate db --data data");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "db back-translation completed: 6 domains, 25 calls, 8 elements -> db.sqlite\n");
  const std::string db = dir.File("db.sqlite");
  EXPECT_EQ(Query(db, "SELECT * FROM run"), "db|1\n");
  EXPECT_EQ(
      Query(db,
            "SELECT operation FROM calls WHERE operation NOT IN ('Insert', 'InsertBasicObject') "
            "ORDER BY seq"),
      "Initialize\nSetObjectId\nClearSort\nSetObjectId\nSetColoCopmLength\nBackupSort\n"
      "Update\nUpdate\nUpdate\nGenerateBoteDomain\nFinishTask\nSetObjectId\nFinishTask\n"
      "SetObjectId\nInsertConnections\nSetConfigPitch\nCompleteRIOs\n");
  EXPECT_EQ(Query(db,
                  "SELECT operation, code, element_code, aux_word, hex(bytes) FROM elements "
                  "ORDER BY seq"),
            "Insert|848|864|0|50554D50310000000000010200010000\n"
            "Insert|848|868|0|56414C56453200000000010300030000001E08070C1A000000020001050100010004"
            "12345678\n"
            "Insert|936|940|0|0007\n"
            "Insert|4184|4184|0|0001000200030004\n"
            "InsertBasicObject|604|608|0|0001\n"
            "InsertBasicObject|660|664|0|0003\n"
            "InsertBasicObject|448|452|3|0002\n"
            "InsertBasicObject|448|452|4|0005\n");
  // The CbP shift moves SETPOINT's CODA offset from 4 to 20.
  EXPECT_EQ(Query(db,
                  "SELECT domain_file, text, type_index, name, byte_offset_colo, "
                  "byte_offset_coda FROM decoder_records ORDER BY seq"),
            "AD000001.C01|DAT(B)|0|FLAGS|18|0\nAD000001.C01|DAT(I)|1|LEVEL|16|0\n"
            "AP000001.C01|PARDAT(I)|10|SETPOINT|0|20\n");

  // A database that cannot complete the remote I/O stops the run: result 0, exit status 1.
  const auto stopped = tooltest::RunTool(
      dir.path(), "backtranslate db --data data --answer CompleteRIOs=0 --db stop.sqlite");
  EXPECT_EQ(stopped.status, 1);
  EXPECT_EQ(Query(dir.File("stop.sqlite"), "SELECT * FROM run"), "db|0\n");
}

}  // namespace

}  // namespace morvit
