// CODE mode of the dump driver: a domain file listed as a column of 16-bit words, one line per
// word with its offset, hexadecimal and decimal values, bytes and characters, and a label: the
// header fields by domain type, the names of the target-code elements of the body.
#ifndef MORVIT_DUMP_CODELISTING_H
#define MORVIT_DUMP_CODELISTING_H

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dump/CodeValues.h"
#include "dump/DumpDriverState.h"
#include "dump/HeaderLayouts.h"
#include "dump/ListingOutput.h"
#include "dump/ListingSwitches.h"
#include "dump/ReadResults.h"
#include "morvit/platform.h"

namespace morvit {

// Reads the file at `path` into the word buffer: the first 1024-byte block, whose first word
// is the length, and as many further blocks as the length asks for. Bytes not read are zero.
int ReadCodeFile(const CString& path, DumpDriverState& state);

class CodeListing {
 public:
  // A label of 20 spaces, the label of plain body words.
  static constexpr std::string_view kBlankLabel = "                    ";

  CodeListing(ListingOutput& out, DumpDriverState& state, const ListingSwitches& switches,
              std::string_view dataSetName);

  // The listing up to the body of the words read with result `readResult`: the read failure,
  // the column heads and the header by the type table. Returns how the body is listed; the
  // body's section is open then.
  dumplayout::Body Head(int readResult);
  // Closes the body's section and ends the listing.
  void Finish();

  // The line writer: one line for the word at the word index under the current label, which
  // then moves on by one word.
  void Line();
  void Line(std::string_view label);
  // `count` lines, the first under `label`, the others under "."; when `withinLength` is set,
  // no line past the last word of the length announced.
  void Run(std::string_view label, unsigned count, bool withinLength = false);
  void SetLabel(std::string_view label);
  // The word at the word index under the name of its value as an element code; moves the
  // body start on by half the element's length (the word after it). Returns the words listed.
  unsigned ElementLine();
  // The words up to the end, element lines where the body start falls.
  void BodyLines();
  // The label steps of a header layout. Fixed header words are listed whatever the length;
  // steps repeated by a count from the file (`withinLength`) end with the length announced.
  void Steps(std::span<const dumplayout::LabelStep> steps, bool withinLength = false);

  // The word at `index` (zero outside the buffer) and at the word index.
  std::uint16_t Word(std::uint32_t index) const;
  std::uint16_t CurrentWord() const { return Word(m_index); }
  // The word of the line listed last.
  std::uint16_t LastWord() const { return Word(m_index - 1); }
  // Whether the word index has passed the last word of the length announced.
  bool PastEnd() const { return m_index > m_lastWord; }
  bool VersionFrom50() const;
  bool SuppressTimes() const { return m_switches.suppressTimes; }
  // Lines written while set are time stamps; with time output suppressed they show zero
  // values and '.' characters.
  void SetTimeStamp(bool on) {
    m_timeStamp = on;
    m_zeroValues = on && SuppressTimes();
  }

 private:
  void ColumnHeads();
  dumplayout::Body Header();
  void DateBlock();
  bool Applies(dumplayout::When when) const;

  void CloseElement();
  // The value of the words [first, m_index) that `step` gives a meaning to, when they were read.
  void StepValue(const dumplayout::LabelStep& step, std::uint32_t first);
  // The domain type of the type line, as the name of the domain.
  void TypeValue(const dumplayout::HeaderLayout& layout);
  // The planned events whose word the index has reached.
  void PlannedEvents();

  ListingOutput& m_out;
  DumpDriverState& m_state;
  const ListingSwitches& m_switches;
  std::string_view m_dataSetName;
  std::uint32_t m_index = 0;     // word index of the next line
  std::uint32_t m_lastWord = 0;  // half the length word: the last word listed
  std::uint32_t m_bodyStart = 0;
  bool m_zeroValues = false;
  bool m_timeStamp = false;
  bool m_elementOpen = false;
  std::int64_t m_elementIndex = 0;
  std::vector<PlannedEvent> m_plan;
  std::size_t m_planned = 0;  // the next of m_plan to tell
  std::string m_valueText;
  std::array<char, 80> m_label{};
  std::size_t m_labelLength = 0;
};

}  // namespace morvit

#endif  // MORVIT_DUMP_CODELISTING_H
