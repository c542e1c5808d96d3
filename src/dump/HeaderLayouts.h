// How the CODE-mode listing labels the header of each domain type: a table of label steps per
// type number, read by the listing (CodeListing.cpp). Adding a type is adding a row.
#ifndef MORVIT_DUMP_HEADERLAYOUTS_H
#define MORVIT_DUMP_HEADERLAYOUTS_H

#include <cstdint>
#include <span>

namespace morvit::dumplayout {

// When a step is listed. Versions are target-code versions (from the common header's
// major and minor bytes); the data-set character is place 3 of the name, '0' for the first
// file of a domain.
enum class When : std::uint8_t { always, from50, below50, from54, firstFile };

enum class StepKind : std::uint8_t {
  lines,          // `count` words under `label`: a run, later lines labelled "."
  repeatBlock,    // the word just listed + 1 times the `block`, when that word <= `count`
  extensionLine,  // one `label` line unless the word is 568 or the word after it is 4
};

// What the words of a step hold, told beside them as a value once its last word is listed (the
// words themselves are listed as they are).
enum class Meaning : std::uint8_t {
  none,
  text,        // characters over the step's words, zero-filled
  name,        // the name of the node or resource: characters as `text`
  key,         // the key of what the domain describes: the word
  code,        // an element type code, with its name from the name tables
  flag,        // a truth word: 0 is false, anything else true
  longNumber,  // a 32-bit number over this word and the next (the next step's line)
  shortDate,   // a date and time in the short form: year modulo 100, month, day, hour, minute
               // and second as bytes, then the milliseconds as a word
};

struct LabelStep {
  StepKind kind;
  When when;
  const char* label;
  std::uint16_t count;
  std::span<const LabelStep> block;
  Meaning meaning = Meaning::none;
};

enum class CommonLines : std::uint8_t {
  full,            // type line, "Version", the date block
  typeAndVersion,  // type line and "Version" only
};

enum class Body : std::uint8_t {
  none,      // words listed plainly to the end
  elements,  // element lines from the word after the header on
  ioConfig,  // the COIO body
  ioChange,  // the COIC body
};

struct HeaderLayout {
  std::uint16_t type;
  const char* domainLabel;
  CommonLines common;
  std::span<const LabelStep> steps;
  Body body;
  bool decoderBody = false;  // the body is a decoder table and element descriptions
};

// Steps of one or more lines under a label.
constexpr LabelStep Line(const char* label, When when = When::always) {
  return {StepKind::lines, when, label, 1, {}};
}
constexpr LabelStep Lines(const char* label, std::uint16_t count, When when = When::always) {
  return {StepKind::lines, when, label, count, {}};
}

// A step whose words hold a value of `meaning`.
constexpr LabelStep Valued(LabelStep step, Meaning meaning) {
  step.meaning = meaning;
  return step;
}

// The layout of a domain type, or null for a type that gets no header labels.
const HeaderLayout* FindHeaderLayout(std::uint16_t type);

// Every layout, in ascending type order.
std::span<const HeaderLayout> HeaderLayouts();

}  // namespace morvit::dumplayout

#endif  // MORVIT_DUMP_HEADERLAYOUTS_H
