// VMotorolaIO: the big-endian reader and writer of domain files and its listing personality.
// Byte order comes from the controller-types conversions; this file only moves bytes and
// formats listing lines.
#include "morvit/VMotorolaIO.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>

#include "io/ListingEvents.h"
#include "io/ListingHead.h"
#include "support/ControllerTypes.h"
#include "support/HostTime.h"

using namespace morvit;

using controller::kLongSize;
using controller::kWordSize;
using WordBytes = std::array<std::uint8_t, kWordSize>;
using LongBytes = std::array<std::uint8_t, kLongSize>;

std::int32_t VMotorolaIO::m_lByteOffset = 0;

namespace morvit {
namespace {

// Type codes of a terminal value.
enum TerminalCode : std::uint16_t {
  kTerminalBoolean = 0,
  kTerminalInteger = 1,
  kTerminalLongInt = 2,
  kTerminalReal = 3,
  kTerminalString = 4,
  kTerminalCardinal = 5,
  kTerminalOtherString = 6,
};
// A terminal string keeps room for its terminator in the 56-byte value area.
constexpr std::size_t kTerminalStringMax = sizeof(TBATerminal{}.value) - 1;

constexpr unsigned kCopyChunk = 1024;  // CopyBytes buffer, on the stack

// Year normalisation of WriteRTime: two-digit years 0 to 95 and years 1900 to 1995 belong to
// 2000 to 2095; 96 to 99 to 1996 to 1999.
constexpr unsigned kFirstYear = 1900;
constexpr unsigned kTwoDigitPivot = 1996;
constexpr unsigned kCentury = 100;

[[noreturn]] void ThrowEndOfFile(const CFile& file) {
  AfxThrowFileException(CFileException::endOfFile, -1, file.GetFilePath());
}

// Reads a fixed-size value. Only a read that delivers nothing fails; bytes that a short read
// leaves out stay 0, so a value cut by the end of the file reads the same every time.
template <std::size_t N>
std::array<std::uint8_t, N> ReadFixed(CFile& file) {
  std::array<std::uint8_t, N> bytes{};
  if (file.Read(bytes.data(), N) == 0) ThrowEndOfFile(file);
  return bytes;
}

using morvit::VFieldKind;

char ListingChar(std::uint8_t byte);

// Appends the listing line of `word` at `offset`: offset (width 5, wider if needed), ": ", hex
// and decimal word (width 8 each), high and low byte (width 4 each), two spaces, both bytes as
// characters, two spaces, the label.
void AppendLine(std::string& text, std::int32_t offset, std::uint16_t word, const char* label) {
  std::uint8_t high;
  std::uint8_t low;
  controller::CardinalToHighLow(word, high, low);
  char head[64];
  const int headLength = std::snprintf(head, sizeof(head), "%5d: %8x%8u%4u%4u  %c%c  ", offset,
                                       unsigned{word}, unsigned{word}, unsigned{high},
                                       unsigned{low}, ListingChar(high), ListingChar(low));
  text.append(head, static_cast<std::size_t>(headLength));
  if (label != nullptr) text += label;
  text += '\n';
}

// One field at m_lByteOffset: a listing line per word of `shown` (the words the listing shows),
// `bytes` the field's bytes in the file. The offset then moves past the field.
void ListField(CFile& file, std::span<const std::uint8_t> shown,
               std::span<const std::uint8_t> bytes, VFieldKind kind, std::int64_t number,
               double real, const char* label) {
  std::string& text = events::LineBuffer();
  text.clear();
  for (std::size_t at = 0; events::TextWanted() && at + kWordSize <= shown.size();
       at += kWordSize) {
    AppendLine(text, VMotorolaIO::m_lByteOffset + static_cast<std::int32_t>(at),
               controller::BytesToCardinal(shown.data() + at), label);
  }
  morvit::VListingField field;
  field.offset = VMotorolaIO::m_lByteOffset;
  field.width = static_cast<std::uint32_t>(bytes.size());
  field.bytes = bytes.data();
  field.kind = kind;
  field.number = number;
  field.real = real;
  field.label = events::TrimLabel(label != nullptr ? std::string_view(label) : std::string_view());
  field.text = text;
  field.timeStamp = events::InTimeStamp();
  events::Field(file, field);
  VMotorolaIO::m_lByteOffset += static_cast<std::int32_t>(shown.size());
}

// A word as data (its two bytes) or as one listing line.
void PutWord(CFile& file, std::uint16_t word, int dump, const char* label,
             VFieldKind kind = VFieldKind::word, std::int64_t number = -1) {
  WordBytes bytes;
  controller::CardinalToBytes(word, bytes.data());
  if (dump != 0) {
    ListField(file, bytes, bytes, kind, number < 0 && kind == VFieldKind::word ? word : number, 0.0,
              label);
    return;
  }
  file.Write(bytes.data(), kWordSize);
}

// Four file bytes as data, or as one field of two listing lines (high word, low word) with the
// same label.
void PutLong(CFile& file, const LongBytes& bytes, int dump, const char* label, VFieldKind kind,
             std::int64_t number) {
  if (dump != 0) {
    ListField(file, bytes, bytes, kind, number, 0.0, label);
    return;
  }
  file.Write(bytes.data(), kLongSize);
}

LongBytes LongIntBytes(std::int32_t value) {
  LongBytes bytes;
  controller::LongIntToBytes(value, bytes.data());
  return bytes;
}

// The listing form of a real: truncated toward zero, saturated at the 32-bit range, NaN as 0
// (a plain conversion would be undefined outside the range).
std::int32_t TruncatedReal(double value) {
  using Limits = std::numeric_limits<std::int32_t>;
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(Limits::max())) return Limits::max();
  if (value <= static_cast<double>(Limits::min())) return Limits::min();
  return static_cast<std::int32_t>(value);
}

std::uint16_t NormalisedYear(std::uint16_t year) {
  unsigned normalised = year;
  if (normalised < kFirstYear) normalised += kFirstYear;
  if (normalised < kTwoDigitPivot) normalised += kCentury;
  return static_cast<std::uint16_t>(normalised);
}

// A field of the short date-time form, which stores it in one byte.
std::uint8_t ShortFormByte(std::uint16_t value, const char* field) {
  if (value > std::numeric_limits<std::uint8_t>::max()) {
    throw std::out_of_range(std::string("date-time field does not fit the short form: ") + field +
                            " " + std::to_string(value));
  }
  return static_cast<std::uint8_t>(value);
}

// The value area of a terminal holds host values (the exported record's own representation,
// not file order), read and stored through memcpy.
template <typename T>
T LoadTerminal(const TBATerminal& terminal) {
  static_assert(sizeof(T) <= sizeof(terminal.value));
  T value;
  std::memcpy(&value, terminal.value.bytes, sizeof(T));
  return value;
}

// Stores a value read from the file; its length is its host size.
template <typename T>
void StoreTerminal(TBATerminal& terminal, T value) {
  static_assert(sizeof(T) <= sizeof(terminal.value));
  std::memcpy(terminal.value.bytes, &value, sizeof(T));
  terminal.length = sizeof(T);
}

// A value of the item just listed, from `offset` to the listing offset now.
void ListedValue(std::int64_t offset, morvit::VValueKind kind, const char* label,
                 std::int64_t number, double real = 0.0, std::string_view text = {}) {
  if (!events::ValuesWanted()) return;
  morvit::VListingValue value;
  value.offset = offset;
  value.width = static_cast<std::uint32_t>(VMotorolaIO::m_lByteOffset - offset);
  value.kind = kind;
  value.label = events::TrimLabel(label != nullptr ? std::string_view(label) : std::string_view());
  value.number = number;
  value.real = real;
  value.text = text;
  value.timeStamp = events::InTimeStamp();
  events::Value(value);
}

char ListingChar(std::uint8_t byte) {
  constexpr std::uint8_t kFirstPrintable = 0x20;
  constexpr std::uint8_t kLastPrintable = 0x7E;
  return byte >= kFirstPrintable && byte <= kLastPrintable ? controller::ByteToChar(byte) : '.';
}

// The fields of a terminal value: its type code, then the value in the kind the code names.
std::uint16_t WriteTerminalFields(VMotorolaIO& io, CFile& file, const TBATerminal& terminal,
                                  int dump, const char* label) {
  // The code as the file holds it decides the value, so writer and reader agree.
  const auto code = static_cast<std::uint16_t>(terminal.typeCode);
  io.WriteCardinal(file, code, dump, "TypeInfo");
  constexpr std::uint16_t kCodeBytes = kWordSize;
  switch (code) {
    case kTerminalBoolean:
      io.WriteBoolean(file, terminal.value.bytes[0], dump, label);
      return kCodeBytes + kWordSize;
    case kTerminalInteger:
      io.WriteInteger(file, LoadTerminal<std::int16_t>(terminal), dump, label);
      return kCodeBytes + kWordSize;
    case kTerminalLongInt:
      io.WriteLongInt(file, LoadTerminal<std::int32_t>(terminal), dump, label);
      return kCodeBytes + kLongSize;
    case kTerminalReal:
      io.WriteReal(file, LoadTerminal<double>(terminal), dump, label);
      return kCodeBytes + kLongSize;
    case kTerminalCardinal:
      io.WriteCardinal(file, LoadTerminal<std::uint16_t>(terminal), dump, label);
      return kCodeBytes + kWordSize;
    case kTerminalString:
    case kTerminalOtherString: {
      // Never past the value area, and never longer than a reader can take back.
      const auto length =
          static_cast<std::uint16_t>(std::min<std::size_t>(terminal.length, kTerminalStringMax));
      io.WriteBString(file, length, reinterpret_cast<const char*>(terminal.value.bytes), dump,
                      label);
      return static_cast<std::uint16_t>(kCodeBytes + kWordSize + length);
    }
    default:
      return kCodeBytes;
  }
}

}  // namespace
}  // namespace morvit

VMotorolaIO::VMotorolaIO() = default;

VMotorolaIO::~VMotorolaIO() = default;

void VMotorolaIO::Reset() { m_lByteOffset = 0; }

// ---- Readers ----

std::uint8_t VMotorolaIO::ReadBoolean(CFile& file) {
  return controller::BytesToBoolean(ReadFixed<kWordSize>(file).data());
}

std::uint8_t VMotorolaIO::ReadByte(CFile& file) { return ReadFixed<1>(file)[0]; }

std::uint16_t VMotorolaIO::ReadCardinal(CFile& file) {
  return controller::BytesToCardinal(ReadFixed<kWordSize>(file).data());
}

std::int16_t VMotorolaIO::ReadInteger(CFile& file) {
  return controller::BytesToInteger(ReadFixed<kWordSize>(file).data());
}

std::int32_t VMotorolaIO::ReadLongInt(CFile& file) {
  return controller::BytesToLongInt(ReadFixed<kLongSize>(file).data());
}

std::uint32_t VMotorolaIO::ReadLongCard(CFile& file) {
  return controller::BytesToLongCard(ReadFixed<kLongSize>(file).data());
}

double VMotorolaIO::ReadReal(CFile& file) {
  return controller::RealToDouble(ReadFixed<kLongSize>(file).data());
}

void VMotorolaIO::ReadString(CFile& file, std::uint16_t length, char* buffer,
                             std::size_t bufferSize) {
  if (buffer == nullptr || bufferSize <= length) ThrowEndOfFile(file);
  if (file.Read(buffer, length) < length) ThrowEndOfFile(file);
  buffer[length] = '\0';
  // The writer padded to an even position; a missing pad byte at the very end is no loss.
  if (file.Seek(0, CFile::current) % 2 != 0) {
    std::uint8_t pad;
    file.Read(&pad, 1);
  }
}

void VMotorolaIO::ReadBString(CFile& file, std::uint16_t& length, char* buffer,
                              std::size_t bufferSize) {
  length = ReadCardinal(file);
  ReadString(file, length, buffer, bufferSize);
}

void VMotorolaIO::ReadRTime(CFile& file, RTime& time, int shortForm) {
  if (shortForm != 0) {
    for (std::uint16_t* field :
         {&time.year, &time.month, &time.day, &time.hour, &time.minute, &time.second}) {
      *field = ReadByte(file);
    }
    time.millisecond = ReadCardinal(file);
    return;
  }
  CompactDateTime packed;
  packed.date = ReadCardinal(file);
  packed.time = ReadCardinal(file);
  packed.milliSec = ReadCardinal(file);
  time = hosttime::UnpackDateTime(packed);
}

void VMotorolaIO::ReadTerminalValue(CFile& file, TBATerminal& terminal) {
  const std::uint16_t code = ReadCardinal(file);
  terminal.typeCode = code;
  switch (code) {
    case kTerminalBoolean:
      terminal.value.bytes[0] = ReadBoolean(file);
      terminal.length = kWordSize;
      break;
    case kTerminalInteger:
      StoreTerminal(terminal, ReadInteger(file));
      break;
    case kTerminalLongInt:
      StoreTerminal(terminal, ReadLongInt(file));
      break;
    case kTerminalReal:
      StoreTerminal(terminal, ReadReal(file));
      break;
    case kTerminalCardinal:
      StoreTerminal(terminal, ReadCardinal(file));
      break;
    case kTerminalString:
    case kTerminalOtherString: {
      char* chars = reinterpret_cast<char*>(terminal.value.bytes);
      ReadBString(file, terminal.length, chars, sizeof(terminal.value));
      break;
    }
    default:  // nothing follows the code
      break;
  }
}

std::uint16_t VMotorolaIO::Peek(CFile& file) {
  WordBytes bytes{};
  const unsigned got = file.Read(bytes.data(), kWordSize);
  if (got == 0) ThrowEndOfFile(file);
  // Back by what was read, so a word cut by the end of the file cannot move before the start.
  file.Seek(-static_cast<std::int64_t>(got), CFile::current);
  return controller::BytesToCardinal(bytes.data());
}

// ---- Writers ----

void VMotorolaIO::WriteBoolean(CFile& file, std::uint8_t value, int dump, const char* label) {
  const std::int64_t offset = m_lByteOffset;
  PutWord(file, controller::BooleanToWord(value), dump, label);
  if (dump != 0) {
    ListedValue(offset, morvit::VValueKind::boolean, label, value != 0 ? 1 : 0, 0.0,
                value != 0 ? "true" : "false");
  }
}

void VMotorolaIO::WriteByte(CFile& file, std::uint8_t value, int dump, const char* label) {
  if (dump == 0) {
    file.Write(&value, 1);
    return;
  }
  if (m_lByteOffset % 2 == 0) {  // first of a pair: held, its label dropped
    m_cPendingByte = value;
    ++m_lByteOffset;
    return;
  }
  --m_lByteOffset;
  WriteFormatted(file, label, controller::HighLowToCardinal(m_cPendingByte, value));
}

void VMotorolaIO::WriteCardinal(CFile& file, std::uint16_t value, int dump, const char* label) {
  PutWord(file, value, dump, label);
}

void VMotorolaIO::WriteInteger(CFile& file, std::int16_t value, int dump, const char* label) {
  WordBytes bytes;
  controller::IntegerToBytes(value, bytes.data());
  PutWord(file, controller::BytesToCardinal(bytes.data()), dump, label, VFieldKind::integer, value);
}

void VMotorolaIO::WriteLongInt(CFile& file, std::int32_t value, int dump, const char* label) {
  const std::int64_t offset = m_lByteOffset;
  PutLong(file, LongIntBytes(value), dump, label, VFieldKind::longInteger, value);
  if (dump != 0) ListedValue(offset, morvit::VValueKind::number, label, value);
}

void VMotorolaIO::WriteLongCard(CFile& file, std::uint32_t value, int dump, const char* label) {
  LongBytes bytes;
  controller::LongCardToBytes(value, bytes.data());
  const std::int64_t offset = m_lByteOffset;
  PutLong(file, bytes, dump, label, VFieldKind::longWord, value);
  if (dump != 0) ListedValue(offset, morvit::VValueKind::number, label, value);
}

void VMotorolaIO::WriteReal(CFile& file, double value, int dump, const char* label) {
  LongBytes bytes;
  controller::DoubleToReal(value, bytes.data());
  if (dump != 0) {
    // The listing shows the value truncated to an integer; the field keeps the real's bytes.
    const std::int64_t offset = m_lByteOffset;
    ListField(file, LongIntBytes(TruncatedReal(value)), bytes, VFieldKind::real, 0, value, label);
    ListedValue(offset, morvit::VValueKind::real, label, 0, value);
    return;
  }
  file.Write(bytes.data(), kLongSize);
}

void VMotorolaIO::WriteString(CFile& file, std::uint16_t length, const char* chars,
                              std::uint8_t fill, int dump, const char* label) {
  if (dump == 0) {
    if (length > 0) file.Write(chars, length);
    if (file.Seek(0, CFile::current) % 2 != 0) file.Write(&fill, 1);
    return;
  }
  const std::int64_t offset = m_lByteOffset;
  for (std::uint16_t i = 0; i < length; ++i) {
    WriteByte(file, controller::CharToByte(chars[i]), dump, i == 0 ? label : "");
  }
  if (m_lByteOffset % 2 != 0) WriteByte(file, fill, dump, length == 0 ? label : "");
  events::TextValue(offset, static_cast<std::uint32_t>(m_lByteOffset - offset),
                    label != nullptr ? label : "", std::string_view(chars, length));
}

void VMotorolaIO::WriteBString(CFile& file, std::uint16_t length, const char* chars, int dump,
                               const char* label) {
  const std::int64_t offset = m_lByteOffset;
  {
    const events::InnerValues inner;
    WriteCardinal(file, length, dump, label);
    WriteString(file, length, chars, 0, dump, nullptr);
  }
  if (dump != 0) {
    events::TextValue(offset, static_cast<std::uint32_t>(m_lByteOffset - offset),
                      label != nullptr ? label : "", std::string_view(chars, length));
  }
}

void VMotorolaIO::WriteRTime(CFile& file, RTime time, int dump, const char* /*label*/,
                             int shortForm) {
  time.year = NormalisedYear(time.year);
  if (shortForm != 0) {
    // Always data: the short form has no listing lines. Every field is checked before the
    // first byte goes out, so a refused date-time leaves nothing half written.
    const std::uint8_t fields[] = {ShortFormByte(time.year % kCentury, "year"),
                                   ShortFormByte(time.month, "month"),
                                   ShortFormByte(time.day, "day"),
                                   ShortFormByte(time.hour, "hour"),
                                   ShortFormByte(time.minute, "minute"),
                                   ShortFormByte(time.second, "second")};
    for (std::uint8_t field : fields) WriteByte(file, field, 0, nullptr);
    WriteCardinal(file, time.millisecond, 0, nullptr);
    return;
  }
  const CompactDateTime packed = hosttime::PackDateTime(time);
  const events::TimeStampScope stamp;
  const std::int64_t offset = m_lByteOffset;
  WriteCardinal(file, packed.date, dump, "Date");
  WriteCardinal(file, packed.time, dump, "Time");
  WriteCardinal(file, packed.milliSec, dump, "MilliSec");
  if (dump != 0 && events::ValuesWanted()) {
    const RTime listed = hosttime::UnpackDateTime(packed);
    ListedValue(offset, morvit::VValueKind::dateTime, "Date", 0, 0.0,
                events::DateTimeText(listed.year, listed.month, listed.day, listed.hour,
                                     listed.minute, listed.second, listed.millisecond));
  }
}

// A terminal value in a listing is one value over its type code and what follows it, of the
// kind the code names; a code without a value gives the code alone as a number.
std::uint16_t VMotorolaIO::WriteTerminalValue(CFile& file, TBATerminal terminal, int dump,
                                              const char* label) {
  if (dump == 0 || !events::ValuesWanted())
    return WriteTerminalFields(*this, file, terminal, dump, label);
  const std::int64_t offset = m_lByteOffset;
  std::uint16_t written = 0;
  {
    const events::InnerValues inner;
    written = WriteTerminalFields(*this, file, terminal, dump, label);
  }
  events::TerminalValue(offset, static_cast<std::uint32_t>(m_lByteOffset - offset), terminal,
                        label);
  return written;
}

namespace morvit::events {

void TerminalValue(std::int64_t offset, std::uint32_t width, const TBATerminal& terminal,
                   const char* label) {
  if (!ValuesWanted()) return;
  // The listing offset stands after the value's bytes while it is told.
  const std::int32_t listed = VMotorolaIO::m_lByteOffset;
  using morvit::VValueKind;
  const auto code = static_cast<std::uint16_t>(terminal.typeCode);
  // The type code names the kind of the value that follows it: an enumeration over its word.
  static constexpr std::string_view kKinds[] = {"boolean", "integer",  "long integer", "real",
                                                "BString", "cardinal", "BString"};
  if (code < std::size(kKinds)) {
    VMotorolaIO::m_lByteOffset = static_cast<std::int32_t>(offset + controller::kWordSize);
    ListedValue(offset, VValueKind::enumeration, "TypeInfo", code, 0.0, kKinds[code]);
  }
  VMotorolaIO::m_lByteOffset = static_cast<std::int32_t>(offset + width);
  switch (code) {
    case kTerminalBoolean: {
      const bool truth = terminal.value.bytes[0] != 0;
      ListedValue(offset, VValueKind::boolean, label, truth ? 1 : 0, 0.0, truth ? "true" : "false");
      break;
    }
    case kTerminalInteger:
      ListedValue(offset, VValueKind::number, label, LoadTerminal<std::int16_t>(terminal));
      break;
    case kTerminalLongInt:
      ListedValue(offset, VValueKind::number, label, LoadTerminal<std::int32_t>(terminal));
      break;
    case kTerminalReal:
      ListedValue(offset, VValueKind::real, label, 0, LoadTerminal<double>(terminal));
      break;
    case kTerminalCardinal:
      ListedValue(offset, VValueKind::number, label, LoadTerminal<std::uint16_t>(terminal));
      break;
    case kTerminalString:
    case kTerminalOtherString:
      events::TextValue(
          offset, static_cast<std::uint32_t>(width), label != nullptr ? label : "",
          std::string_view(reinterpret_cast<const char*>(terminal.value.bytes),
                           std::min<std::size_t>(terminal.length, kTerminalStringMax)));
      break;
    default:
      ListedValue(offset, VValueKind::number, "TypeInfo", terminal.typeCode);
      break;
  }
  VMotorolaIO::m_lByteOffset = listed;
}

}  // namespace morvit::events

void VMotorolaIO::WriteFormatted(CFile& file, const char* label, std::uint16_t word) {
  PutWord(file, word, 1, label);
}

void VMotorolaIO::WriteHeader(CFile& file, const char* dataSetSpecification, int enable) {
  if (enable == 0) return;
  std::string head = "\n\nDump Domain Program \n\n";
  head += kDataSetLabel;
  if (dataSetSpecification != nullptr) head += dataSetSpecification;
  head +=
      "\n\n"
      "Index       Word         Bytes      Char\n"
      "(Byte)    Hex     Dec    Dec Dec\n";
  events::Text(file, head);
}

void VMotorolaIO::CopyBytes(CFile& source, CFile& destination, std::int32_t count, int dump) {
  if (dump != 0) {
    // A full-width counter: a count of 65536 or more is copied whole, not cut or looped on.
    for (std::int32_t i = 0; i < count; ++i) {
      WriteByte(destination, ReadByte(source), dump, nullptr);
    }
    return;
  }
  std::array<std::uint8_t, kCopyChunk> chunk;
  for (std::int32_t due = count; due > 0;) {
    const unsigned want = std::min(kCopyChunk, static_cast<unsigned>(due));
    const unsigned got = source.Read(chunk.data(), want);
    if (got == 0) ThrowEndOfFile(source);
    destination.Write(chunk.data(), got);
    due -= static_cast<std::int32_t>(got);
  }
}
