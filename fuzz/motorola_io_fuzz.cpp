// Feeds arbitrary bytes to VMotorolaIO's readers, in an order the input chooses, and lists
// what they return: any input must end in values or the end-of-file exception, never a crash,
// an overflow of a caller's buffer, or a date-time the writer refuses.
#include <cstddef>
#include <cstdint>

#include "morvit/VMotorolaIO.h"

namespace {

void ReadOne(VMotorolaIO& io, CFile& in, CFile& listing, std::uint8_t op) {
  switch (op % 12) {
    case 0:
      io.WriteBoolean(listing, io.ReadBoolean(in), 1, "Boolean");
      break;
    case 1:
      io.WriteByte(listing, io.ReadByte(in), 1, "Byte");
      break;
    case 2:
      io.WriteInteger(listing, io.ReadInteger(in), 1, "Integer");
      break;
    case 3:
      io.WriteLongInt(listing, io.ReadLongInt(in), 1, "LongInt");
      break;
    case 4:
      io.WriteReal(listing, io.ReadReal(in), 1, "Real");
      break;
    case 5: {
      char text[40];
      const std::uint16_t length = io.ReadCardinal(in);
      io.ReadString(in, length, text, sizeof(text));
      io.WriteString(listing, length, text, ' ', 1, "String");
      break;
    }
    case 6: {
      char text[24];
      std::uint16_t length = 0;
      io.ReadBString(in, length, text, sizeof(text));
      io.WriteBString(listing, length, text, 1, "BString");
      break;
    }
    case 7:
    case 8: {
      RTime time{};
      const int shortForm = op % 12 == 8;
      io.ReadRTime(in, time, shortForm);
      io.WriteRTime(listing, time, shortForm ? 0 : 1, nullptr, shortForm);
      break;
    }
    case 9: {
      TBATerminal terminal{};
      io.ReadTerminalValue(in, terminal);
      io.WriteTerminalValue(listing, terminal, 1, "Terminal");
      break;
    }
    case 10:
      io.WriteCardinal(listing, io.Peek(in), 1, "Peek");
      break;
    default: {
      const std::uint16_t count = io.ReadCardinal(in);
      io.CopyBytes(in, listing, count, op & 0x80);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  VMotorolaIO::Reset();
  CMemFile in(data, size);
  CMemFile listing;
  VMotorolaIO io;
  try {
    // Every round consumes at least its operation byte, so the loop ends.
    while (in.GetPosition() < in.GetLength()) ReadOne(io, in, listing, io.ReadByte(in));
  } catch (const CFileException& e) {
    if (e.m_cause != CFileException::endOfFile) __builtin_trap();
  }
  return 0;
}
