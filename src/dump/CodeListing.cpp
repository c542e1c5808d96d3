// CODE mode: reading the file, the column heads, the line writer, the header by the type
// table, the date block and the element lines of the body.
#include "dump/CodeListing.h"

#include <algorithm>
#include <cstdio>

#include "dump/NameTables.h"
#include "io/ListingEvents.h"
#include "support/ControllerTypes.h"
#include "support/HostTime.h"

namespace morvit {

namespace {

using dumplayout::Body;
using dumplayout::HeaderLayout;
using dumplayout::LabelStep;
using dumplayout::StepKind;
using dumplayout::When;

// The file is read in blocks of this size.
constexpr std::size_t kBlockSize = 1024;
// Body start that no word index reaches: no element lines.
constexpr std::uint32_t kNoBody = 60000;
constexpr std::string_view kRunLabel = ".                   ";

// Words of the common header listed by the date block.
constexpr std::uint32_t kDateWord = 3;
constexpr std::uint32_t kTimeWord = 4;
constexpr std::uint32_t kMilliSecWord = 5;
constexpr std::uint32_t kMajorMinorWord = 6;
// A major/minor word of 1000 or more marks the current common header; the older header holds
// the date as bytes.
constexpr std::uint16_t kCurrentHeaderFrom = 1000;

// Target-code versions in tenths.
constexpr unsigned kVersion50 = 50;
constexpr unsigned kVersion54 = 54;

// PODE: no extension offset when the header is followed by the program's init start (568) or
// when the word after the next is 4.
constexpr std::uint16_t kProgInitStart = 568;
constexpr std::uint16_t kNoExtensionMark = 4;

// Character place of the data-set name that is '0' in the first file of a domain.
constexpr std::size_t kScopeDigitPlace = 3;

std::int64_t ByteOffset(std::uint32_t wordIndex) {
  return static_cast<std::int64_t>(std::size_t{wordIndex} * controller::kWordSize);
}

char Printable(std::uint8_t byte) {
  return byte < 32 || byte > 126 ? '.' : static_cast<char>(byte);
}

// The line number column ("nnnnn:   ") and the columns of a word before its label: hexadecimal
// in 4, signed decimal in 8, the high and low byte in 8 and 4, three spaces, the two characters,
// six spaces.
constexpr std::size_t kLinePrefix = 9;
constexpr std::size_t kWordColumns = 35;

// Digits of `width` columns from `at`, right-aligned, blanks before them; returns the end. The
// callers' values fit their columns by their types (a 16-bit offset in 5, a byte in 3 or more).
char* Column(char* at, std::size_t width, char* (*digits)(char*, std::uint32_t),
             std::uint32_t value) {
  char* const end = at + width;
  std::fill(at, digits(end, value), ' ');
  return end;
}

char* WordColumns(char* at, std::uint16_t word, bool dots) {
  const auto high = static_cast<std::uint8_t>(word >> 8);
  const auto low = static_cast<std::uint8_t>(word & 0xFF);
  Column(at, 4, HexBefore, word);
  std::fill(at + 4, SignedBefore(at + 12, static_cast<std::int16_t>(word)), ' ');
  Column(at + 12, 8, DecimalBefore, high);
  Column(at + 20, 4, DecimalBefore, low);
  std::fill(at + 24, at + 27, ' ');
  at[27] = dots ? '.' : Printable(high);
  at[28] = dots ? '.' : Printable(low);
  std::fill(at + 29, at + kWordColumns, ' ');
  return at + kWordColumns;
}

}  // namespace

int ReadCodeFile(const CString& path, DumpDriverState& state) {
  state.words.fill(0);
  state.bytesRead = 0;
  state.announcedLength = 0;
  CFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
    return kReadFailureBase - error.m_cause;
  }
  try {
    std::size_t read = file.Read(state.words.data(), kBlockSize);
    state.bytesRead = read;
    if (read == 0) return kFileEndsEarly;
    const std::size_t length = controller::BytesToCardinal(state.words.data());
    state.announcedLength = length;
    const std::size_t wanted = std::min(kWordBufferSize, (length / kBlockSize + 1) * kBlockSize);
    while (read < wanted) {
      const unsigned got =
          file.Read(state.words.data() + read, static_cast<unsigned>(wanted - read));
      if (got == 0) break;
      read += got;
    }
    state.bytesRead = read;
    // The length word is the offset of the file's last byte.
    return read <= length ? kFileEndsEarly : kReadOk;
  } catch (const CFileException& e) {
    return kReadFailureBase - e.m_cause;
  }
}

CodeListing::CodeListing(ListingOutput& out, DumpDriverState& state,
                         const ListingSwitches& switches, std::string_view dataSetName)
    : m_out(out), m_state(state), m_switches(switches), m_dataSetName(dataSetName) {}

Body CodeListing::Head(int readResult) {
  if (readResult != kReadOk) {
    m_out.Text("return from file_read (CODE): ");
    m_out.Signed(readResult, 5);
    m_out.LineEnd();
    m_out.LineEnd();
    m_out.Stop(readResult == kFileEndsEarly ? static_cast<std::int64_t>(m_state.bytesRead) : -1,
               readResult == kFileEndsEarly
                   ? "the file ends before the length its first word announces"
                   : "the file cannot be opened or read");
  }
  ColumnHeads();
  m_bodyStart = kNoBody;
  m_index = 0;
  m_lastWord = Word(0) / 2u;
  std::uint8_t type = 0;
  std::uint8_t scope = 0;
  controller::CardinalToHighLow(Word(1), type, scope);
  const HeaderLayout* layout = dumplayout::FindHeaderLayout(type);
  m_out.Begin({morvit::VListingPlace::header,
               events::TrimLabel(layout != nullptr ? layout->domainLabel : "header"),
               -1,
               {},
               -1,
               0});
  Line("Offset to last Byte ");
  const Body body = Header();
  m_out.End(morvit::VListingPlace::header);
  SetLabel(kBlankLabel);
  m_out.Begin({morvit::VListingPlace::section, "body", -1, {}, -1, ByteOffset(m_index)});
  if (m_out.WantsEvents() && layout != nullptr && layout->decoderBody) {
    // The body's layout is read from the words the listing shows, and only those.
    const std::size_t listed = std::min(
        {m_state.bytesRead, kWordBufferSize, static_cast<std::size_t>(ByteOffset(m_lastWord + 1))});
    m_plan = PlanDecoderBody(std::span(m_state.words.data(), listed), Applies(When::firstFile));
    m_planned = 0;
  }
  return body;
}

void CodeListing::Finish() {
  CloseElement();
  m_out.End(morvit::VListingPlace::section);
  m_out.LineEnd();
  m_out.LineEnd();
  m_out.Flush();
}

void CodeListing::CloseElement() {
  if (!m_elementOpen) return;
  m_out.End(morvit::VListingPlace::element);
  m_elementOpen = false;
}

void CodeListing::ColumnHeads() {
  if (m_switches.lineNumbers) m_out.Text(" Index       ");
  m_out.Text("Word         Bytes      Char ");
  m_out.LineEnd();
  if (m_switches.lineNumbers) m_out.Text("(Byte)   ");
  m_out.Text(" Hex     Dec    Dec Dec ");
  m_out.LineEnd();
}

std::uint16_t CodeListing::Word(std::uint32_t index) const {
  const std::size_t at = std::size_t{index} * controller::kWordSize;
  if (at >= kWordBufferSize) return 0;
  return controller::BytesToCardinal(m_state.words.data() + at);
}

void CodeListing::SetLabel(std::string_view label) {
  m_labelLength = std::min(label.size(), m_label.size());
  std::copy_n(label.data(), m_labelLength, m_label.data());
}

void CodeListing::Line() {
  static constexpr std::uint8_t kOutside[controller::kWordSize] = {};
  const std::size_t at = std::size_t{m_index} * controller::kWordSize;
  const std::uint16_t read = Word(m_index);
  const std::uint16_t word = m_zeroValues ? 0 : read;
  const std::string_view label(m_label.data(), m_labelLength);
  // The whole line is formatted here and handed over at once: this runs once per word.
  char line[kLinePrefix + kWordColumns + sizeof m_label + 1];
  char* end = line;
  if (m_switches.lineNumbers) {
    end = Column(end, 5, DecimalBefore, static_cast<std::uint16_t>(at));
    end = std::copy_n(":   ", 4, end);
  }
  end = WordColumns(end, word, m_zeroValues);
  end = std::copy_n(label.data(), label.size(), end);
  *end++ = '\n';
  const std::string_view text(line, static_cast<std::size_t>(end - line));
  if (!m_out.WantsEvents()) {
    m_out.Text(text);
    m_out.Flush();
    ++m_index;
    return;
  }
  m_out.Flush();
  m_out.Text(text);
  morvit::VListingField field;
  field.offset = static_cast<std::int64_t>(at);
  field.width = controller::kWordSize;
  field.bytes = at < kWordBufferSize ? m_state.words.data() + at : kOutside;
  field.number = read;
  field.label = events::TrimLabel(label);
  field.timeStamp = m_timeStamp;
  m_out.Field(field);
  ++m_index;
  if (m_planned < m_plan.size()) PlannedEvents();
}

void CodeListing::PlannedEvents() {
  for (; m_planned < m_plan.size() && m_plan[m_planned].at <= m_index; ++m_planned) {
    const PlannedEvent& event = m_plan[m_planned];
    switch (event.kind) {
      case PlannedEvent::Kind::begin:
        m_out.Begin(event.begin);
        break;
      case PlannedEvent::Kind::value:
        m_out.Value(event.value);
        break;
      case PlannedEvent::Kind::end:
        m_out.End(morvit::VListingPlace::element);
        break;
    }
  }
}

void CodeListing::StepValue(const LabelStep& step, std::uint32_t first) {
  const auto from = static_cast<std::size_t>(ByteOffset(first));
  const auto to = static_cast<std::size_t>(ByteOffset(m_index));
  if (to > std::min(m_state.bytesRead, kWordBufferSize)) return;  // words not read
  morvit::VListingValue value;
  if (HeaderStepValue(step.meaning, std::span(m_state.words.data() + from, to - from),
                      ByteOffset(first), step.label, value, m_valueText)) {
    value.timeStamp = m_timeStamp;
    m_out.Value(value);
  }
}

void CodeListing::TypeValue(const HeaderLayout& layout) {
  if (!m_out.WantsEvents() || m_state.bytesRead < static_cast<std::size_t>(ByteOffset(2))) return;
  // "TADE, task_no": the name before the comma.
  const std::string_view label = layout.domainLabel;
  morvit::VListingValue value;
  value.offset = ByteOffset(1);
  value.width = 1;
  value.kind = morvit::VValueKind::enumeration;
  value.label = "domain type";
  value.number = layout.type;
  value.text = events::TrimLabel(label.substr(0, label.find(',')));
  m_out.Value(value);
}

void CodeListing::Line(std::string_view label) {
  SetLabel(label);
  Line();
}

void CodeListing::Run(std::string_view label, unsigned count, bool withinLength) {
  SetLabel(label);
  for (unsigned i = 0; i < count && !(withinLength && PastEnd()); ++i) {
    Line();
    SetLabel(kRunLabel);
  }
}

unsigned CodeListing::ElementLine() {
  const morvit::VNameEntry& entry = morvit::ElementNameEntry(CurrentWord());
  const std::string_view name = entry.name;
  if (m_out.WantsEvents()) {
    CloseElement();
    m_out.Begin({morvit::VListingPlace::element,
                 {},
                 CurrentWord(),
                 events::TrimLabel(name),
                 m_elementIndex++,
                 ByteOffset(m_index)});
    m_elementOpen = true;
  }
  SetLabel(name);
  const std::size_t width = std::min<std::size_t>(entry.labelWidth, m_label.size());
  if (m_labelLength < width) {
    std::fill(m_label.begin() + m_labelLength, m_label.begin() + width, entry.labelFill);
    m_labelLength = width;
  }
  Line();
  if (m_out.WantsEvents()) {
    morvit::VListingValue value;
    value.offset = ByteOffset(m_index - 1);
    value.width = controller::kWordSize;
    value.kind = morvit::VValueKind::code;
    value.label = "code";
    value.number = LastWord();
    value.text = events::TrimLabel(name);
    m_out.Value(value);
  }
  SetLabel(kBlankLabel);
  // The element's length in bytes, counted from its code word.
  m_bodyStart += CurrentWord() / controller::kWordSize;
  return 1;
}

void CodeListing::BodyLines() {
  while (!PastEnd()) {
    if (m_index == m_bodyStart) {
      ElementLine();
    } else {
      Line();
    }
  }
}

Body CodeListing::Header() {
  std::uint8_t type = 0;
  std::uint8_t scope = 0;
  controller::CardinalToHighLow(Word(1), type, scope);
  const HeaderLayout* layout = dumplayout::FindHeaderLayout(type);
  if (layout == nullptr) {
    m_out.Hex(type, 4);
    m_out.LineEnd();
    m_out.Flush();
    return Body::none;
  }
  Line(layout->domainLabel);
  TypeValue(*layout);
  Line("Version             ");
  if (layout->common == dumplayout::CommonLines::full) DateBlock();
  Steps(layout->steps);
  if (layout->body != Body::none) m_bodyStart = m_index;
  return layout->body;
}

void CodeListing::DateBlock() {
  const std::uint16_t date = Word(kDateWord);
  const std::uint16_t time = Word(kTimeWord);
  const std::uint16_t milliSec = Word(kMilliSecWord);
  const std::uint16_t majorMinor = Word(kMajorMinorWord);
  const bool current = majorMinor >= kCurrentHeaderFrom;
  if (current) {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    controller::CardinalToHighLow(majorMinor, major, minor);
    m_state.targetCodeVersion = major * 10u + minor;
  }
  SetTimeStamp(true);
  if (!current) {
    Line("Year      Month     ");
    Line("Day       Hour      ");
    Line("Minute    Second    ");
    Line("Millisecond         ");
  } else if (SuppressTimes()) {
    Line("Date                ");
    Line("Time                ");
    Line("Milliseconds        ");
    Line("Target Code Version ");
  } else {
    char text[81];
    const RTime when = hosttime::UnpackDateTime({date, time, milliSec});
    std::snprintf(text, sizeof text, "Date          %u/%u/%u", unsigned{when.year},
                  unsigned{when.month}, unsigned{when.day});
    Line(text);
    std::snprintf(text, sizeof text, "Time          %u:%u", unsigned{when.hour},
                  unsigned{when.minute});
    Line(text);
    std::snprintf(text, sizeof text, "Milliseconds  %u.%u", unsigned{when.second},
                  unsigned{when.millisecond});
    Line(text);
    std::snprintf(text, sizeof text, "Target Code Version %5.1f", m_state.targetCodeVersion / 10.0);
    Line(text);
  }
  SetTimeStamp(false);
  if (current && m_out.WantsEvents()) {
    // The three words of the date block as one value, whatever the listing shows of them.
    const RTime when = hosttime::UnpackDateTime({date, time, milliSec});
    const std::string stamp = events::DateTimeText(when.year, when.month, when.day, when.hour,
                                                   when.minute, when.second, when.millisecond);
    morvit::VListingValue value;
    value.offset = std::int64_t{kDateWord} * controller::kWordSize;
    value.width = 3 * controller::kWordSize;
    value.kind = morvit::VValueKind::dateTime;
    value.label = "Date";
    value.text = stamp;
    value.timeStamp = true;
    m_out.Value(value);
  }
}

bool CodeListing::VersionFrom50() const { return m_state.targetCodeVersion >= kVersion50; }

bool CodeListing::Applies(When when) const {
  switch (when) {
    case When::always:
      return true;
    case When::from50:
      return VersionFrom50();
    case When::below50:
      return !VersionFrom50();
    case When::from54:
      return m_state.targetCodeVersion >= kVersion54;
    case When::firstFile:
      return m_dataSetName.size() > kScopeDigitPlace && m_dataSetName[kScopeDigitPlace] == '0';
  }
  return false;
}

void CodeListing::Steps(std::span<const LabelStep> steps, bool withinLength) {
  // A step with a meaning, told once the words it spans are listed (a 32-bit number spans the
  // next step's word too); none when the listing ends before them.
  const LabelStep* valued = nullptr;
  std::uint32_t valuedFrom = 0;
  for (const LabelStep& step : steps) {
    if (!Applies(step.when)) continue;
    if (step.meaning != dumplayout::Meaning::none && m_out.WantsEvents()) {
      valued = &step;
      valuedFrom = m_index;
    }
    switch (step.kind) {
      case StepKind::lines:
        Run(step.label, step.count, withinLength);
        break;
      case StepKind::repeatBlock: {
        // A count that reaches past the end lists the blocks that start before it.
        const std::uint16_t countMinus1 = LastWord();
        if (countMinus1 > step.count) break;
        for (std::uint32_t i = 0; i <= countMinus1 && !PastEnd(); ++i) Steps(step.block, true);
        break;
      }
      case StepKind::extensionLine:
        if (CurrentWord() != kProgInitStart && Word(m_index + 1) != kNoExtensionMark) {
          Line(step.label);
        }
        break;
    }
    if (valued != nullptr && m_index - valuedFrom >= MeaningWords(*valued)) {
      StepValue(*valued, valuedFrom);
      valued = nullptr;
    }
  }
}

}  // namespace morvit
