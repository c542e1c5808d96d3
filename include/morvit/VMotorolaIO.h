// VMotorolaIO: reads and writes the controller's values in Motorola byte order (most significant
// byte first) and, when a writer's listing flag is set, appends an annotated listing line for the
// value to the stream instead of the value's bytes.
#ifndef MORVIT_VMOTOROLAIO_H
#define MORVIT_VMOTOROLAIO_H

#include <cstddef>
#include <cstdint>

#include "morvit/VBase.h"
#include "morvit/platform.h"

// Every method takes its stream first, as a reference (`CFile&`; a CMemFile or any other CFile
// works too): an instance holds no stream. The methods use only the stream's Read, Write and Seek
// relative to the current position.
//
// Readers raise CFileException with cause end-of-file (14) and OS error -1 when the stream
// delivers nothing: the fixed-size readers when Read returns 0 bytes (a read that delivers only
// part of a value does not fail; the missing bytes count as 0), the string readers when fewer
// than the string's bytes arrive, CopyBytes when a chunk read returns 0.
//
// Writers write each value with one Write call (in listing mode: one per listing line). The
// `dump` flag selects the listing form; `label` may be null. A listing line reads
//   "%5d: %8x%8u%4u%4u  cc  label\n"
// with the byte offset, the word in hexadecimal and decimal, its high and low byte in decimal
// and as characters ('.' unless 0x20 to 0x7E). Single bytes are paired into words by the
// parity of the process-wide offset m_lByteOffset: a byte at an even offset is held (and its
// label dropped) until the next byte arrives.
class MORVIT_API VMotorolaIO : public CObject {
 public:
  VMotorolaIO();
  ~VMotorolaIO() override;

  // Readers.
  std::uint8_t ReadBoolean(CFile& file);  // 1 for any non-zero word
  std::uint8_t ReadByte(CFile& file);
  std::uint16_t ReadCardinal(CFile& file);
  std::int16_t ReadInteger(CFile& file);
  std::int32_t ReadLongInt(CFile& file);
  std::uint32_t ReadLongCard(CFile& file);
  double ReadReal(CFile& file);
  // Reads exactly `length` characters into `buffer` and stores a terminator after them, then
  // skips one pad byte if the stream position is odd. `bufferSize` is the size of `buffer`:
  // a length that does not leave room for the terminator raises end-of-file before anything
  // is read, so a length taken from a damaged file can never overflow the caller's buffer.
  void ReadString(CFile& file, std::uint16_t length, char* buffer, std::size_t bufferSize);
  // Reads the cardinal length into `length`, then the string as ReadString does.
  void ReadBString(CFile& file, std::uint16_t& length, char* buffer, std::size_t bufferSize);
  // Long form (shortForm = 0): Date, Time, MilliSec, unpacked. Short form: year (two digits,
  // as stored), month, day, hour, minute, second as bytes, then the millisecond cardinal.
  void ReadRTime(CFile& file, RTime& time, int shortForm);
  // Reads the cardinal type code, then the value the code names (codes above 6: nothing).
  void ReadTerminalValue(CFile& file, TBATerminal& terminal);
  // The next cardinal, leaving the stream position where it was.
  std::uint16_t Peek(CFile& file);

  // Writers.
  void WriteBoolean(CFile& file, std::uint8_t value, int dump, const char* label);
  void WriteByte(CFile& file, std::uint8_t value, int dump, const char* label);
  void WriteCardinal(CFile& file, std::uint16_t value, int dump, const char* label);
  void WriteInteger(CFile& file, std::int16_t value, int dump, const char* label);
  void WriteLongInt(CFile& file, std::int32_t value, int dump, const char* label);
  void WriteLongCard(CFile& file, std::uint32_t value, int dump, const char* label);
  // Listing form: the value truncated toward zero to a 32-bit integer (saturated at the
  // integer's range, NaN as 0), high word then low word.
  void WriteReal(CFile& file, double value, int dump, const char* label);
  // The characters, then `fill` if the position (listing: m_lByteOffset) is then odd.
  void WriteString(CFile& file, std::uint16_t length, const char* chars, std::uint8_t fill,
                   int dump, const char* label);
  // The cardinal length (carrying the label), then the string padded with 0.
  void WriteBString(CFile& file, std::uint16_t length, const char* chars, int dump,
                    const char* label);
  // The year is normalised first: below 1900 add 1900, then below 1996 add 100. Long form:
  // the compact date-time's three words (listing lines "Date", "Time", "MilliSec"). Short form:
  // six bytes and a cardinal, always as data, also when `dump` is set.
  void WriteRTime(CFile& file, RTime time, int dump, const char* label, int shortForm);
  // The cardinal type code (listing label "TypeInfo"), then the value; returns the bytes the
  // value takes in the file without a string's pad byte.
  std::uint16_t WriteTerminalValue(CFile& file, TBATerminal terminal, int dump, const char* label);
  // One listing line for `word` at m_lByteOffset; the offset then grows by 2.
  void WriteFormatted(CFile& file, const char* label, std::uint16_t word);
  // The listing head, only if `enable` is non-zero; leaves m_lByteOffset unchanged.
  void WriteHeader(CFile& file, const char* dataSetSpecification, int enable);
  // Copies `count` bytes from `source` to `destination` (nothing for 0 or less); in listing
  // mode lists them through WriteByte without labels.
  void CopyBytes(CFile& source, CFile& destination, std::int32_t count, int dump);
  // Sets m_lByteOffset to 0.
  static void Reset();

  // The byte offset printed on every listing line: one for the whole process (unguarded, one
  // listing at a time). Zero at load; Reset and the domain file's Reopen set it to 0.
  static std::int32_t m_lByteOffset;

 private:
  std::uint8_t m_cPendingByte = 0;  // listing: the first byte of a pair, held for the second
};

#endif  // MORVIT_VMOTOROLAIO_H
