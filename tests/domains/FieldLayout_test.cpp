// A fixed header driven by its layout table: built field by field, copied in, written out
// unchanged, and refused when the file ends inside it.
#include "domains/FieldLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace morvit {

namespace {

constexpr std::array<FieldSpec, 5> kLayout{{
    {"Number", FieldEncoding::Cardinal},
    {"Name", FieldEncoding::Chars, 5},
    {"Signed", FieldEncoding::Integer},
    {"Big", FieldEncoding::LongCard},
    {"Flag", FieldEncoding::Byte},
}};

std::vector<std::uint8_t> Bytes(CMemFile& file) {
  std::vector<std::uint8_t> bytes(file.GetLength());
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<unsigned>(bytes.size()));
  return bytes;
}

TEST(FieldLayout, BuiltImageReadsAndWritesBackUnchanged) {
  EXPECT_EQ(LayoutSize(kLayout), 2u + 6 + 2 + 4 + 1);
  EXPECT_EQ(FieldOffset(kLayout, 3), 10u);

  CMemFile built(64);
  SetField(built, kLayout, 0, 0x1234);
  SetField(built, kLayout, 1, "ABCDEFG");  // cut to its five characters, pad byte zero
  SetField(built, kLayout, 2, 0xFFFE);
  SetField(built, kLayout, 3, 0x01020304);
  SetField(built, kLayout, 4, 0x7F);
  const std::vector<std::uint8_t> expected{0x12, 0x34, 'A', 'B', 'C', 'D', 'E', 0,
                                           0xFF, 0xFE, 1,   2,   3,   4,   0x7F};
  EXPECT_EQ(Bytes(built), expected);
  EXPECT_EQ(GetField(built, kLayout, 3), 0x01020304u);

  built.SeekToBegin();
  CMemFile image(64);
  ReadLayout(built, image, kLayout);
  image.SeekToBegin();
  CMemFile written(64);
  VMotorolaIO io;
  WriteLayout(io, image, written, kLayout, 0);
  EXPECT_EQ(Bytes(written), expected);
}

TEST(FieldLayout, FileEndingInsideTheLayoutIsEndOfFile) {
  CMemFile shortFile(64);
  const std::array<std::uint8_t, 6> bytes{1, 2, 3, 4, 5, 6};
  shortFile.Write(bytes.data(), bytes.size());
  shortFile.SeekToBegin();
  CMemFile image(64);
  try {
    ReadLayout(shortFile, image, kLayout);
    FAIL() << "a short header was read";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::endOfFile);
  }
}

}  // namespace

}  // namespace morvit
