// The dump driver's listings against golden texts written out from the listing rules: CODE
// mode for TADE files of target-code versions 4 and 5 (with and without line numbers and
// times) and a COIO file with a class 2/3 device, the DATA and PL tables and a MOVE pair.
#include <gtest/gtest.h>

#include "dump/DumpDriver.h"
#include "fixtures/DumpFiles.h"
#include "fixtures/DumpTest.h"

namespace morvit {

using namespace testutil;

namespace {

const Bytes kTade4 = CodeFile::Header(49, 0x0400).Words({1, 2, 1000, 3, 1}).Build();
const Bytes kTade5 = CodeFile::Header(49, 0x0500)
                         .Words({1, 2, 1000, 3, 1, 0x0102, 0x4142, 0, 1, 2, 3, 0xFFFF})
                         .Build();

TEST_F(DumpTest, TadeListingsFollowTheTargetCodeVersion) {
  const struct {
    const char* name;
    const Bytes& file;
    bool lineNumbers;
    bool suppressTimes;
    std::string expected;
  } rows[] = {
      {"version 4 stops after InitialOnState", kTade4, true, false,
       DriverHead("TD000001.C01") + R"( Index       Word         Bytes      Char 
(Byte)    Hex     Dec    Dec Dec 
    0:     17      23       0  23   ..      Offset to last Byte 
    2:   3100   12544      49   0   1.      TADE, task_no       
    4:      7       7       0   7   ..      Version             
    6:   3587   13703      53 135   5.      Date          2026/12/7
    8:    267     615       2 103   .g      Time          10:15
   10:   3039   12345      48  57   09      Milliseconds  12.345
   12:    400    1024       4   0   ..      Target Code Version   4.0
   14:      1       1       0   1   ..      Exec Unit No        
   16:      2       2       0   2   ..      Scheduling Strategy 
   18:    3E8    1000       3 232   ..      Cycle Time / Event# 
   20:      3       3       0   3   ..      PlaceInCycleTable   
   22:      1       1       0   1   ..      InitialOnState      


)"},
      {"version 5 lists the instance and call parameters", kTade5, true, false,
       DriverHead("TD000001.C01") + R"( Index       Word         Bytes      Char 
(Byte)    Hex     Dec    Dec Dec 
    0:     25      37       0  37   .%      Offset to last Byte 
    2:   3100   12544      49   0   1.      TADE, task_no       
    4:      7       7       0   7   ..      Version             
    6:   3587   13703      53 135   5.      Date          2026/12/7
    8:    267     615       2 103   .g      Time          10:15
   10:   3039   12345      48  57   09      Milliseconds  12.345
   12:    500    1280       5   0   ..      Target Code Version   5.0
   14:      1       1       0   1   ..      Exec Unit No        
   16:      2       2       0   2   ..      Scheduling Strategy 
   18:    3E8    1000       3 232   ..      Cycle Time / Event# 
   20:      3       3       0   3   ..      PlaceInCycleTable   
   22:      1       1       0   1   ..      InitialOnState      
   24:    102     258       1   2   ..      Instance Key        
   26:   4142   16706      65  66   AB      TypCode             
   28:      0       0       0   0   ..      Call Parameter 1    
   30:      1       1       0   1   ..      Call Parameter 2    
   32:      2       2       0   2   ..      Call Parameter 3    
   34:      3       3       0   3   ..      Call Parameter 4    
   36:   FFFF      -1     255 255   ..      Call Parameter 5    


)"},
      {"no line numbers, times suppressed", kTade5, false, true,
       DriverHead("TD000001.C01") + R"(Word         Bytes      Char 
 Hex     Dec    Dec Dec 
  25      37       0  37   .%      Offset to last Byte 
3100   12544      49   0   1.      TADE, task_no       
   7       7       0   7   ..      Version             
   0       0       0   0   ..      Date                
   0       0       0   0   ..      Time                
   0       0       0   0   ..      Milliseconds        
   0       0       0   0   ..      Target Code Version 
   1       1       0   1   ..      Exec Unit No        
   2       2       0   2   ..      Scheduling Strategy 
 3E8    1000       3 232   ..      Cycle Time / Event# 
   3       3       0   3   ..      PlaceInCycleTable   
   1       1       0   1   ..      InitialOnState      
 102     258       1   2   ..      Instance Key        
4142   16706      65  66   AB      TypCode             
   0       0       0   0   ..      Call Parameter 1    
   1       1       0   1   ..      Call Parameter 2    
   2       2       0   2   ..      Call Parameter 3    
   3       3       0   3   ..      Call Parameter 4    
FFFF      -1     255 255   ..      Call Parameter 5    


)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetSwitches(row.lineNumbers, row.suppressTimes);
    EXPECT_EQ(Dump("TD000001.C01", row.file), row.expected);
  }
}

TEST_F(DumpTest, CoioListingFollowsItsDeviceRecords) {
  // Older header (version 4.9 carried), NetStat, BusNo, the section start, a class 2/3 device
  // with one object type of one instance and one configuration block of 3 bytes, the end.
  const Bytes coio = CodeFile::Header(26, 0x0102)
                         .Words({1, 2, 848,    4, 868, 42,     0x4142, 0x4344, 0,
                                 0, 0, 0x0103, 1, 2,   0x0A0B, 0x0C0D, 0x0E0F, 0,
                                 3, 1, 0x0501, 0, 3,   0x1122, 0x3300, 852,    4})
                         .Build();
  // The header's date bytes of the older generation.
  Bytes file = coio;
  const std::uint8_t olderDate[] = {0x1A, 0x0C, 0x07, 0x09, 0x0A, 0x0F};
  std::copy(std::begin(olderDate), std::end(olderDate), file.begin() + 6);
  EXPECT_EQ(Dump("CI000001.C01", file),
            DriverHead("CI000001.C01") + R"( Index       Word         Bytes      Char 
(Byte)    Hex     Dec    Dec Dec 
    0:     43      67       0  67   .C      Offset to last Byte 
    2:   1A00    6656      26   0   ..      COIO                
    4:      7       7       0   7   ..      Version             
    6:   1A0C    6668      26  12   ..      Year      Month     
    8:    709    1801       7   9   ..      Day       Hour      
   10:    A0F    2575      10  15   ..      Minute    Second    
   12:    102     258       1   2   ..      Millisecond         
   14:      1       1       0   1   ..      NetStat (on NB40)   
   16:      2       2       0   2   ..      BusNo   (of NB40)   
   18:    350     848       3  80   .P      configurationHWInitS
   20:      4       4       0   4   ..                          
   22:    364     868       3 100   .d      hwInitClass23       
   24:     2A      42       0  42   .*                          
   26:   4142   16706      65  66   AB      DeviceIdent         
   28:   4344   17220      67  68   CD      .                   
   30:      0       0       0   0   ..      .                   
   32:      0       0       0   0   ..      .                   
   34:      0       0       0   0   ..      .                   
   36:    103     259       1   3   ..      SubStat   DeviceNo  
   38:      1       1       0   1   ..      DevSpec1  Class     
   40:      2       2       0   2   ..      DevSpec2            
   42:    A0B    2571      10  11   ..      SEC       MIN       
   44:    C0D    3085      12  13   ..      HOU       DAY       
   46:    E0F    3599      14  15   ..      MON       YEA       
   48:      0       0       0   0   ..      NoObjTypeBlocksMin1 
   50:      3       3       0   3   ..      MaxNumberInstances  
   52:      1       1       0   1   ..      NoActiveInstances   
   54:    501    1281       5   1   ..      ObjType   NoConfBloc
   56:      0       0       0   0   ..      ObjActiveInstanceNo 
   58:      3       3       0   3   ..      ObjAttr   NoByteConf
   60:   1122    4386      17  34   ."                          
   62:   3300   13056      51   0   3.                          
   64:    354     852       3  84   .T      configurationHWInitE
   66:      4       4       0   4   ..                          


)");
}

TEST_F(DumpTest, DataAndPlTablesListEveryRecord) {
  const Bytes data = DataTable({{2, 0, 0, 0, 0, 0, 0, 0, 0},
                                {100, 1, 2, 40, 4, 'A', 3, 500, 9},
                                {65535, 255, 7, 42, 2, 200, 0, 0, 65535}});
  EXPECT_EQ(
      Dump("XXLO0001.C01", data),
      DriverHead("XXLO0001.C01") + R"(index   iKey termId tcNo noBytes offset ioSelect bitNo locOffs
                                 
    0      2      0    0       0      0        0     0       0       0
    1    100      1    2       4     40        A     3     500       9
    2  65535    255    7       2     42      200     0       0   65535
)");
  const Bytes pl = PlTable({{2, 0, 0, 0, 0}, {7, 1, 2, 10, 0x8000 | 5}, {8, 3, 4, 20, 0x4000 | 6}});
  EXPECT_EQ(Dump("PL000001.C01", pl),
            DriverHead("PL000001.C01") + R"(index   iKey termId tcNo PC/TRA noBytes offset
                                 
    0      2      0    0   F  F       0      0
    1      7      1    2   T  F       5     10
    2      8      3    4   F  T       6     20
)");
}

TEST_F(DumpTest, MoveTablesListBlocksWithElements) {
  Write("XXB00001.C01", MoveBTable({{1, 1, 0, {}, 0, 0, {}},
                                    {0xABCD,
                                     0x12,
                                     2,
                                     {0x1234, 0x5678, 0, 0xFFFF},
                                     1,
                                     3,
                                     {{20, 3, 4, 0xBEEF, 1}, {21, 4, 6, 0, 0xA0}}}}));
  EXPECT_EQ(Dump("XXA00001.C01", MoveATable({{10, 1, 100000}, {11, 2, 7}}, 1, 1)),
            DriverHead("XXA00001.C01") + R"(XXA00001.C01:

index   iKey termId poiEle
---------------------------
    0     10      1 100000
    1     11      2      7



XXB00001.C01:

index  fbCod  len  noEl      h1   h2   h3   h4  opEl contInd 
              index   iKey termId  lOffs      e1   e2
-----------------------------------------------------------------
    1   ABCD   12     2    1234 5678    0 FFFF     T       3
                  0     20      3      4    BEEF    1
                  1     21      4      6       0   A0
)");
}

}  // namespace

}  // namespace morvit
