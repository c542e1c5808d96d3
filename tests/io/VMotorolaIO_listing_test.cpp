// Listing lines of VMotorolaIO, compared with lines written out by hand: the field widths, the
// two gaps, the character column, byte pairing by the offset's parity and the listing head.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "morvit/VMotorolaIO.h"

namespace morvit {

namespace {

using Writes = std::function<void(VMotorolaIO&, CFile&)>;

struct ListingCase {
  const char* name;
  Writes writes;
  const char* expected;
  std::int32_t offsetAfter;
};

std::string Text(const CMemFile& file) {
  return std::string(reinterpret_cast<const char*>(file.Data()),
                     static_cast<std::size_t>(file.GetLength()));
}

RTime Time(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t hour,
           std::uint16_t minute, std::uint16_t second, std::uint16_t millisecond) {
  return RTime{year, month, day, hour, minute, second, millisecond};
}

TBATerminal IntegerTerminal(std::int16_t value) {
  TBATerminal terminal{};
  terminal.typeCode = 1;
  std::memcpy(terminal.value.bytes, &value, sizeof(value));
  return terminal;
}

const ListingCase kListingCases[] = {
    {"worked line with label",
     [](VMotorolaIO& io, CFile& f) { io.WriteFormatted(f, "Version", 0x0041); },
     "    0:       41      65   0  65  .A  Version\n", 2},
    {"worked line at offset 12 without label",
     [](VMotorolaIO& io, CFile& f) {
       VMotorolaIO::m_lByteOffset = 12;
       io.WriteFormatted(f, nullptr, 0x4B4F);
     },
     "   12:     4b4f   19279  75  79  KO  \n", 14},
    {"offset wider than five columns",
     [](VMotorolaIO& io, CFile& f) {
       VMotorolaIO::m_lByteOffset = 123456;
       io.WriteCardinal(f, 0xFFFF, 1, "Wide");
     },
     "123456:     ffff   65535 255 255  ..  Wide\n", 123458},
    {"two bytes make one word with the second byte's label",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteByte(f, 0x12, 1, "first");
       io.WriteByte(f, 0x34, 1, "second");
     },
     "    0:     1234    4660  18  52  .4  second\n", 2},
    {"a held byte is never printed on its own",
     [](VMotorolaIO& io, CFile& f) { io.WriteByte(f, 0x7A, 1, "held"); }, "", 1},
    {"a cardinal listed while a byte is held sits at the odd offset",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteByte(f, 0x01, 1, "dropped");
       io.WriteCardinal(f, 0x4142, 1, "C");
       io.WriteByte(f, 0x02, 1, "pair");
     },
     "    1:     4142   16706  65  66  AB  C\n"
     "    2:      102     258   1   2  ..  pair\n",
     4},
    {"boolean lists its truth word",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteBoolean(f, 5, 1, "On");
       io.WriteBoolean(f, 0, 1, "Off");
     },
     "    0:        1       1   0   1  ..  On\n"
     "    2:        0       0   0   0  ..  Off\n",
     4},
    {"integer lists its sixteen bits",
     [](VMotorolaIO& io, CFile& f) { io.WriteInteger(f, -32768, 1, "Min"); },
     "    0:     8000   32768 128   0  ..  Min\n", 2},
    {"long cardinal gives two lines with the label",
     [](VMotorolaIO& io, CFile& f) { io.WriteLongCard(f, 0x12345678, 1, "L"); },
     "    0:     1234    4660  18  52  .4  L\n"
     "    2:     5678   22136  86 120  Vx  L\n",
     4},
    {"long integer gives high then low word",
     [](VMotorolaIO& io, CFile& f) { io.WriteLongInt(f, -65536, 1, "N"); },
     "    0:     ffff   65535 255 255  ..  N\n"
     "    2:        0       0   0   0  ..  N\n",
     4},
    {"real lists its integer part",
     [](VMotorolaIO& io, CFile& f) { io.WriteReal(f, -2.7, 1, "R"); },
     "    0:     ffff   65535 255 255  ..  R\n"
     "    2:     fffe   65534 255 254  ..  R\n",
     4},
    {"real beyond the integer range saturates",
     [](VMotorolaIO& io, CFile& f) { io.WriteReal(f, 1e12, 1, "Big"); },
     "    0:     7fff   32767 127 255  ..  Big\n"
     "    2:     ffff   65535 255 255  ..  Big\n",
     4},
    {"string at an even offset shows its label nowhere and pads",
     [](VMotorolaIO& io, CFile& f) { io.WriteString(f, 3, "ABC", 0, 1, "Name"); },
     "    0:     4142   16706  65  66  AB  \n"
     "    2:     4300   17152  67   0  C.  \n",
     4},
    {"string at an odd offset pairs its first byte and needs no pad",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteByte(f, 0x01, 1, nullptr);
       io.WriteString(f, 3, "ABC", '*', 1, "Name");
     },
     "    0:      141     321   1  65  .A  Name\n"
     "    2:     4243   16963  66  67  BC  \n",
     4},
    {"fill byte of an empty string carries the label",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteByte(f, 0x07, 1, nullptr);
       io.WriteString(f, 0, "", ' ', 1, "E");
     },
     "    0:      720    1824   7  32  .   E\n", 2},
    {"BString labels its length line",
     [](VMotorolaIO& io, CFile& f) { io.WriteBString(f, 2, "Hi", 1, "Text"); },
     "    0:        2       2   0   2  ..  Text\n"
     "    2:     4869   18537  72 105  Hi  \n",
     4},
    {"long date-time lists Date, Time and MilliSec of a normalised year",
     [](VMotorolaIO& io, CFile& f) {
       io.WriteRTime(f, Time(95, 3, 7, 12, 34, 56, 789), 1, "X", 0);
     },
     "    0:     be67   48743 190 103  .g  Date\n"
     "    2:      2f2     754   2 242  ..  Time\n"
     "    4:     ddd5   56789 221 213  ..  MilliSec\n",
     6},
    {"terminal value labels its code TypeInfo",
     [](VMotorolaIO& io, CFile& f) { io.WriteTerminalValue(f, IntegerTerminal(-5), 1, "T"); },
     "    0:        1       1   0   1  ..  TypeInfo\n"
     "    2:     fffb   65531 255 251  ..  T\n",
     4},
    {"copied bytes are listed in pairs without labels",
     [](VMotorolaIO& io, CFile& f) {
       CMemFile source("Wxyz!", 5);
       io.CopyBytes(source, f, 5, 1);
     },
     "    0:     5778   22392  87 120  Wx  \n"
     "    2:     797a   31098 121 122  yz  \n",
     5},
    {"listing head, offset untouched",
     [](VMotorolaIO& io, CFile& f) {
       VMotorolaIO::m_lByteOffset = 6;
       io.WriteHeader(f, "AB000001.C01", 1);
     },
     "\n\nDump Domain Program \n\nDataSet Specification: AB000001.C01\n\n"
     "Index       Word         Bytes      Char\n"
     "(Byte)    Hex     Dec    Dec Dec\n",
     6},
    {"listing head switched off writes nothing",
     [](VMotorolaIO& io, CFile& f) { io.WriteHeader(f, "AB000001.C01", 0); }, "", 0},
};

TEST(VMotorolaIOListing, LinesMatchTheHandWrittenListing) {
  for (const ListingCase& c : kListingCases) {
    VMotorolaIO::Reset();
    CMemFile file;
    VMotorolaIO io;
    c.writes(io, file);
    EXPECT_EQ(Text(file), c.expected) << c.name;
    EXPECT_EQ(VMotorolaIO::m_lByteOffset, c.offsetAfter) << c.name;
  }
}

// Every listing line is a single Write, so a line never interleaves with another writer's.
class CountingFile : public CMemFile {
 public:
  void Write(const void* buffer, unsigned count) override {
    ++writes;
    CMemFile::Write(buffer, count);
  }
  int writes = 0;
};

TEST(VMotorolaIOListing, EachLineIsOneWrite) {
  VMotorolaIO::Reset();
  CountingFile file;
  VMotorolaIO io;
  io.WriteLongCard(file, 1, 1, "L");
  io.WriteByte(file, 1, 1, nullptr);
  io.WriteByte(file, 2, 1, nullptr);
  EXPECT_EQ(file.writes, 3);
}

TEST(VMotorolaIOListing, OffsetIsSharedByEveryInstance) {
  VMotorolaIO::Reset();
  CMemFile file;
  VMotorolaIO first;
  VMotorolaIO second;
  first.WriteCardinal(file, 1, 1, nullptr);
  second.WriteCardinal(file, 2, 1, nullptr);
  EXPECT_EQ(VMotorolaIO::m_lByteOffset, 4);
  VMotorolaIO::Reset();
  EXPECT_EQ(VMotorolaIO::m_lByteOffset, 0);
}

// A listing copy of 65536 bytes or more lists every byte (no 16-bit counter wraps or loops).
TEST(VMotorolaIOListing, CopyOfMoreThanSixteenBitsListsEveryByte) {
  VMotorolaIO::Reset();
  const std::string bytes(65538, 'a');
  CMemFile source(bytes.data(), bytes.size());
  CMemFile listing;
  VMotorolaIO io;
  io.CopyBytes(source, listing, static_cast<std::int32_t>(bytes.size()), 1);
  EXPECT_EQ(VMotorolaIO::m_lByteOffset, 65538);
  const std::string text = Text(listing);
  EXPECT_NE(text.find("65536:     6161   24929  97  97  aa  \n"), std::string::npos);
}

}  // namespace

}  // namespace morvit
