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

struct LabelStep {
  StepKind kind;
  When when;
  const char* label;
  std::uint16_t count;
  std::span<const LabelStep> block;
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
};

// Steps of one or more lines under a label.
constexpr LabelStep Line(const char* label, When when = When::always) {
  return {StepKind::lines, when, label, 1, {}};
}
constexpr LabelStep Lines(const char* label, std::uint16_t count, When when = When::always) {
  return {StepKind::lines, when, label, count, {}};
}

// The layout of a domain type, or null for a type that gets no header labels.
const HeaderLayout* FindHeaderLayout(std::uint16_t type);

// Every layout, in ascending type order.
std::span<const HeaderLayout> HeaderLayouts();

}  // namespace morvit::dumplayout

#endif  // MORVIT_DUMP_HEADERLAYOUTS_H
