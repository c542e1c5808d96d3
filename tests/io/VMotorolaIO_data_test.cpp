// VMotorolaIO in data mode: golden big-endian bytes, round trips of every value kind, string
// padding by absolute position, terminal values, and the end-of-file failures of the readers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fixtures/TestUtil.h"
#include "morvit/VMotorolaIO.h"

namespace morvit {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Contents(const CMemFile& file) { return Bytes(file.Data(), file.Data() + file.GetLength()); }

class VMotorolaIOData : public ::testing::Test {
 protected:
  void SetUp() override { VMotorolaIO::Reset(); }

  // A stream holding `bytes`, positioned at the start.
  static CMemFile StreamOf(const Bytes& bytes) { return CMemFile(bytes.data(), bytes.size()); }

  CMemFile file;
  VMotorolaIO io;
};

struct GoldenCase {
  const char* name;
  std::function<void(VMotorolaIO&, CFile&)> write;
  Bytes expected;
};

const GoldenCase kGoldenCases[] = {
    {"cardinal",
     [](VMotorolaIO& io, CFile& f) { io.WriteCardinal(f, 0xBEEF, 0, "x"); },
     {0xBE, 0xEF}},
    {"integer", [](VMotorolaIO& io, CFile& f) { io.WriteInteger(f, -2, 0, "x"); }, {0xFF, 0xFE}},
    {"true", [](VMotorolaIO& io, CFile& f) { io.WriteBoolean(f, 7, 0, "x"); }, {0x00, 0x01}},
    {"false", [](VMotorolaIO& io, CFile& f) { io.WriteBoolean(f, 0, 0, "x"); }, {0x00, 0x00}},
    {"byte", [](VMotorolaIO& io, CFile& f) { io.WriteByte(f, 0xA5, 0, "x"); }, {0xA5}},
    {"long cardinal",
     [](VMotorolaIO& io, CFile& f) { io.WriteLongCard(f, 0x12345678, 0, "x"); },
     {0x12, 0x34, 0x56, 0x78}},
    {"long integer",
     [](VMotorolaIO& io, CFile& f) { io.WriteLongInt(f, -2, 0, "x"); },
     {0xFF, 0xFF, 0xFF, 0xFE}},
    {"real",
     [](VMotorolaIO& io, CFile& f) { io.WriteReal(f, -2.5, 0, "x"); },
     {0xC0, 0x20, 0x00, 0x00}},
    {"odd string from position 0 gets the fill byte",
     [](VMotorolaIO& io, CFile& f) { io.WriteString(f, 3, "ABC", '*', 0, "x"); },
     {'A', 'B', 'C', '*'}},
    {"odd string from an odd position needs no fill",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteByte(f, 1, 0, nullptr);
       io.WriteString(f, 3, "ABC", '*', 0, "x");
     },
     {0x01, 'A', 'B', 'C'}},
    {"even string from an odd position gets the fill byte",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteByte(f, 1, 0, nullptr);
       io.WriteString(f, 2, "AB", '*', 0, "x");
     },
     {0x01, 'A', 'B', '*'}},
    {"BString pads with zero",
     [](VMotorolaIO& io, CFile& f) { io.WriteBString(f, 3, "abc", 0, "x"); },
     {0x00, 0x03, 'a', 'b', 'c', 0x00}},
    {"long date-time of year 95 is 2095",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteRTime(f, RTime{95, 3, 7, 12, 34, 56, 789}, 0, "x", 0);
     },
     {0xBE, 0x67, 0x02, 0xF2, 0xDD, 0xD5}},
    {"long date-time of year 99 is 1999",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteRTime(f, RTime{99, 1, 1, 0, 0, 0, 0}, 0, "x", 0);
     },
     {0xC6, 0x21, 0x00, 0x00, 0x00, 0x00}},
    {"short date-time, also when listing",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteRTime(f, RTime{1995, 12, 31, 23, 59, 58, 999}, 1, "x", 1);
     },
     {95, 12, 31, 23, 59, 58, 0x03, 0xE7}},
};

TEST_F(VMotorolaIOData, WritesGoldenBigEndianBytes) {
  for (const GoldenCase& c : kGoldenCases) {
    CMemFile out;
    c.write(io, out);
    EXPECT_EQ(Contents(out), c.expected) << c.name;
  }
  EXPECT_EQ(VMotorolaIO::m_lByteOffset, 0) << "data mode never moves the listing offset";
}

TEST_F(VMotorolaIOData, EveryValueKindReadsBackAsWritten) {
  io.WriteByte(file, 0x9C, 0, nullptr);
  io.WriteBoolean(file, 1, 0, nullptr);
  io.WriteBoolean(file, 0, 0, nullptr);
  io.WriteCardinal(file, 0xFFFF, 0, nullptr);
  io.WriteInteger(file, -32768, 0, nullptr);
  io.WriteLongInt(file, -2147483647 - 1, 0, nullptr);
  io.WriteLongCard(file, 0xFEDCBA98, 0, nullptr);
  io.WriteReal(file, 0.15625, 0, nullptr);
  io.WriteString(file, 5, "hello", ' ', 0, nullptr);
  io.WriteBString(file, 4, "abcd", 0, nullptr);
  io.WriteBString(file, 0, "", 0, nullptr);
  io.WriteRTime(file, RTime{2024, 2, 29, 23, 59, 59, 999}, 0, nullptr, 0);
  io.WriteRTime(file, RTime{2024, 2, 29, 23, 59, 59, 999}, 0, nullptr, 1);

  file.SeekToBegin();
  EXPECT_EQ(io.ReadByte(file), 0x9C);
  EXPECT_EQ(io.ReadBoolean(file), 1);
  EXPECT_EQ(io.ReadBoolean(file), 0);
  EXPECT_EQ(io.ReadCardinal(file), 0xFFFF);
  EXPECT_EQ(io.ReadInteger(file), -32768);
  EXPECT_EQ(io.ReadLongInt(file), -2147483647 - 1);
  EXPECT_EQ(io.ReadLongCard(file), 0xFEDCBA98u);
  EXPECT_EQ(io.ReadReal(file), 0.15625);
  char text[8];
  io.ReadString(file, 5, text, sizeof(text));
  EXPECT_STREQ(text, "hello");
  std::uint16_t length = 0;
  io.ReadBString(file, length, text, sizeof(text));
  EXPECT_EQ(length, 4);
  EXPECT_STREQ(text, "abcd");
  io.ReadBString(file, length, text, sizeof(text));
  EXPECT_EQ(length, 0);
  EXPECT_STREQ(text, "");
  RTime longForm{};
  io.ReadRTime(file, longForm, 0);
  EXPECT_EQ(
      std::memcmp(&longForm, &(const RTime&)RTime{2024, 2, 29, 23, 59, 59, 999}, sizeof(RTime)), 0);
  RTime shortForm{};
  io.ReadRTime(file, shortForm, 1);
  EXPECT_EQ(shortForm.year, 24) << "the short form keeps the two-digit year";
  EXPECT_EQ(shortForm.second, 59);
  EXPECT_EQ(shortForm.millisecond, 999);
  EXPECT_EQ(file.GetPosition(), file.GetLength());
}

TEST_F(VMotorolaIOData, AnyNonZeroWordReadsAsTrue) {
  CMemFile stream = StreamOf({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00});
  EXPECT_EQ(io.ReadBoolean(stream), 1);
  EXPECT_EQ(io.ReadBoolean(stream), 1);
  EXPECT_EQ(io.ReadBoolean(stream), 0);
}

TEST_F(VMotorolaIOData, YearsAreNormalisedBeforeWriting) {
  struct Row {
    std::uint16_t written;
    std::uint16_t shortYear;   // the short form's byte
    std::uint16_t dateOffset;  // bits 15..9 of the Date word
  };
  const Row rows[] = {{0, 0, 0},    {95, 95, 95},   {96, 96, 96},   {99, 99, 99},
                      {1900, 0, 0}, {1995, 95, 95}, {1996, 96, 96}, {1999, 99, 99},
                      {2000, 0, 0}, {2095, 95, 95}, {2127, 27, 127}};
  for (const Row& row : rows) {
    CMemFile out;
    io.WriteRTime(out, RTime{row.written, 1, 1, 0, 0, 0, 0}, 0, nullptr, 0);
    io.WriteRTime(out, RTime{row.written, 1, 1, 0, 0, 0, 0}, 0, nullptr, 1);
    const Bytes bytes = Contents(out);
    ASSERT_EQ(bytes.size(), 14u);
    EXPECT_EQ(bytes[0] >> 1, row.dateOffset) << row.written;
    EXPECT_EQ(bytes[6], row.shortYear) << row.written;
  }
}

TEST_F(VMotorolaIOData, DateTimeOutsideTheCompactFormIsRefused) {
  EXPECT_THROW(io.WriteRTime(file, RTime{2128, 1, 1, 0, 0, 0, 0}, 0, nullptr, 0),
               std::out_of_range);
  EXPECT_THROW(io.WriteRTime(file, RTime{2000, 1, 1, 0, 0, 300, 0}, 0, nullptr, 1),
               std::out_of_range);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(VMotorolaIOData, StringPaddingFollowsTheAbsolutePosition) {
  io.WriteByte(file, 0, 0, nullptr);
  io.WriteString(file, 2, "xy", '#', 0, nullptr);  // ends at 3: padded to 4
  io.WriteString(file, 1, "z", '#', 0, nullptr);   // ends at 5: padded to 6
  EXPECT_EQ(Contents(file), (Bytes{0, 'x', 'y', '#', 'z', '#'}));

  file.Seek(1, CFile::begin);
  char text[4];
  io.ReadString(file, 2, text, sizeof(text));
  EXPECT_STREQ(text, "xy");
  EXPECT_EQ(file.GetPosition(), 4u) << "the pad byte is skipped";
  io.ReadString(file, 1, text, sizeof(text));
  EXPECT_STREQ(text, "z");
  EXPECT_EQ(file.GetPosition(), 6u);
}

TEST_F(VMotorolaIOData, PeekLeavesThePosition) {
  CMemFile stream = StreamOf({0x12, 0x34, 0x56});
  EXPECT_EQ(io.Peek(stream), 0x1234);
  EXPECT_EQ(stream.GetPosition(), 0u);
  EXPECT_EQ(io.ReadCardinal(stream), 0x1234);
  EXPECT_EQ(io.Peek(stream), 0x5600) << "a word cut by the end reads its missing byte as 0";
  EXPECT_EQ(stream.GetPosition(), 2u);
  io.ReadByte(stream);
  EXPECT_CAUSE(io.Peek(stream), CFileException::endOfFile);
}

TEST_F(VMotorolaIOData, CopyBytesCopiesAcrossChunks) {
  std::string source(3000, '\0');
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 31);
  CMemFile from(source.data(), source.size());
  io.CopyBytes(from, file, 2500, 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Data()), 2500), source.substr(0, 2500));
  EXPECT_EQ(from.GetPosition(), 2500u);
  for (std::int32_t none : {0, -1, -70000}) {
    io.CopyBytes(from, file, none, 0);
    io.CopyBytes(from, file, none, 1);
  }
  EXPECT_EQ(file.GetLength(), 2500u);
  EXPECT_EQ(from.GetPosition(), 2500u);
}

// Terminal values: what WriteTerminalValue reports, what the file holds, and what reads back.
struct TerminalCase {
  const char* name;
  std::int32_t code;
  std::function<void(TBATerminal&)> fill;
  std::uint16_t reported;
  std::size_t fileBytes;
  std::uint16_t lengthRead;
};

template <typename T>
std::function<void(TBATerminal&)> Holding(T value) {
  return [value](TBATerminal& t) { std::memcpy(t.value.bytes, &value, sizeof(T)); };
}

std::function<void(TBATerminal&)> HoldingText(const char* text, std::uint16_t length) {
  return [text, length](TBATerminal& t) {
    std::memcpy(t.value.bytes, text, std::strlen(text));
    t.length = length;
  };
}

const char kLongText[] = "0123456789012345678901234567890123456789012345678901234567890123";

const TerminalCase kTerminalCases[] = {
    {"boolean", 0, [](TBATerminal& t) { t.value.bytes[0] = 1; }, 4, 4, 2},
    {"integer", 1, Holding<std::int16_t>(-300), 4, 4, 2},
    {"long integer", 2, Holding<std::int32_t>(-70000), 6, 6, 4},
    {"real", 3, Holding<double>(-0.5), 6, 6, 8},
    {"string, odd length padded", 4, HoldingText("Hello", 5), 9, 10, 5},
    {"cardinal", 5, Holding<std::uint16_t>(0xCAFE), 4, 4, 2},
    {"second string code, even length", 6, HoldingText("Hi", 2), 6, 6, 2},
    {"string cut to the value area", 4, HoldingText(kLongText, 60), 59, 60, 55},
};

TEST_F(VMotorolaIOData, TerminalValuesRoundTrip) {
  for (const TerminalCase& c : kTerminalCases) {
    TBATerminal written{};
    written.typeCode = c.code;
    c.fill(written);
    CMemFile out;
    EXPECT_EQ(io.WriteTerminalValue(out, written, 0, nullptr), c.reported) << c.name;
    EXPECT_EQ(out.GetLength(), c.fileBytes) << c.name;

    out.SeekToBegin();
    TBATerminal read{};
    io.ReadTerminalValue(out, read);
    EXPECT_EQ(read.typeCode, c.code) << c.name;
    EXPECT_EQ(read.length, c.lengthRead) << c.name;
    EXPECT_EQ(std::memcmp(read.value.bytes, written.value.bytes, c.lengthRead), 0) << c.name;
    EXPECT_EQ(out.GetPosition(), out.GetLength()) << c.name;
  }
}

TEST_F(VMotorolaIOData, TerminalCodeAboveSixReadsOnlyTheCode) {
  TBATerminal written{};
  written.typeCode = 7;
  EXPECT_EQ(io.WriteTerminalValue(file, written, 0, nullptr), 2);
  io.WriteCardinal(file, 0x1234, 0, nullptr);
  file.SeekToBegin();
  TBATerminal read{};
  read.length = 0xAAAA;
  read.value.bytes[0] = 0x55;
  io.ReadTerminalValue(file, read);
  EXPECT_EQ(read.typeCode, 7);
  EXPECT_EQ(read.length, 0xAAAA);
  EXPECT_EQ(read.value.bytes[0], 0x55);
  EXPECT_EQ(file.GetPosition(), 2u);
}

// End of file: where a reader fails, and where a short read is taken as it is.
struct EndCase {
  const char* name;
  Bytes stream;
  std::function<void(VMotorolaIO&, CFile&)> read;
};

const EndCase kFailingReads[] = {
    {"cardinal at the end", {}, [](VMotorolaIO& io, CFile& f) { io.ReadCardinal(f); }},
    {"byte at the end", {}, [](VMotorolaIO& io, CFile& f) { io.ReadByte(f); }},
    {"real at the end", {}, [](VMotorolaIO& io, CFile& f) { io.ReadReal(f); }},
    {"string one byte short",
     {'a', 'b', 'c'},
     [](VMotorolaIO& io, CFile& f) {
       char text[8];
       io.ReadString(f, 4, text, sizeof(text));
     }},
    {"BString with a hostile length",
     {0xFF, 0xFF, 'a', 'b'},
     [](VMotorolaIO& io, CFile& f) {
       char text[16];
       std::uint16_t length;
       io.ReadBString(f, length, text, sizeof(text));
     }},
    {"terminal string beyond the value area",
     {0x00, 0x04, 0x00, 56},
     [](VMotorolaIO& io, CFile& f) {
       TBATerminal t{};
       io.ReadTerminalValue(f, t);
     }},
    {"terminal value after its code",
     {0x00, 0x02},
     [](VMotorolaIO& io, CFile& f) {
       TBATerminal t{};
       io.ReadTerminalValue(f, t);
     }},
    {"date-time cut after Date",
     {0x34, 0x00},
     [](VMotorolaIO& io, CFile& f) {
       RTime t{};
       io.ReadRTime(f, t, 0);
     }},
    {"copy of more than the source holds",
     {1, 2, 3},
     [](VMotorolaIO& io, CFile& f) {
       CMemFile sink;
       io.CopyBytes(f, sink, 4, 0);
     }},
    {"listing copy of more than the source holds",
     {1, 2, 3},
     [](VMotorolaIO& io, CFile& f) {
       CMemFile sink;
       io.CopyBytes(f, sink, 4, 1);
     }},
};

TEST_F(VMotorolaIOData, ReadersRaiseEndOfFile) {
  for (const EndCase& c : kFailingReads) {
    SCOPED_TRACE(c.name);
    CMemFile stream = StreamOf(c.stream);
    EXPECT_CAUSE(c.read(io, stream), CFileException::endOfFile);
  }
  CMemFile empty;
  try {
    io.ReadCardinal(empty);
    ADD_FAILURE() << "nothing raised";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_lOsError, -1);
  }
}

TEST_F(VMotorolaIOData, TooLongStringIsRefusedBeforeReading) {
  CMemFile stream = StreamOf({'a', 'b', 'c', 'd'});
  char text[4] = {'x', 'x', 'x', 'x'};
  EXPECT_CAUSE(io.ReadString(stream, 4, text, sizeof(text)), CFileException::endOfFile);
  EXPECT_EQ(stream.GetPosition(), 0u);
  EXPECT_EQ(text[0], 'x');
}

TEST_F(VMotorolaIOData, PartialFixedSizeReadDoesNotFail) {
  CMemFile stream = StreamOf({0x12, 0x34, 0x56});
  EXPECT_EQ(io.ReadLongCard(stream), 0x12345600u);
  CMemFile single = StreamOf({0xAB});
  EXPECT_EQ(io.ReadCardinal(single), 0xAB00);
}

}  // namespace

}  // namespace morvit
