// The values of the CODE listing beside its words: what the words of a header step hold (texts,
// names, keys, codes, flags, 32-bit numbers, dates), and the body of a decoder-table domain read
// by its layout (the decoder table's entries, the element descriptions with their names),
// planned before the words are listed and told as the listing passes them.
#ifndef MORVIT_DUMP_CODEVALUES_H
#define MORVIT_DUMP_CODEVALUES_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dump/HeaderLayouts.h"
#include "morvit/VListingEvents.h"

namespace morvit {

// An event the CODE listing tells once its word index reaches `at`: an element begins (at its
// first word), a value ends (`at` is the word after its last) or an element ends.
struct PlannedEvent {
  enum class Kind : std::uint8_t { value, end, begin };
  std::uint32_t at = 0;
  Kind kind = Kind::value;
  VListingValue value;
  VListingBegin begin{VListingPlace::element, {}, -1, {}, -1, -1};
};

// The words a header step spans from its first word: two for a 32-bit number (the step's word
// and the next step's), else the step's count.
std::uint32_t MeaningWords(const dumplayout::LabelStep& step);

// The value of a header step of `meaning` over `bytes` (the words it spans, from file offset
// `offset`). `text` holds a text the value shows that the bytes do not (a date). False when the
// step has no meaning.
bool HeaderStepValue(dumplayout::Meaning meaning, std::span<const std::uint8_t> bytes,
                     std::int64_t offset, std::string_view label, VListingValue& value,
                     std::string& text);

// The events of a decoder-table domain's body in `file` (the bytes listed, from offset 0): in
// the first file the decoder table's entries, then the element descriptions, each an element
// with its values; in a further file the element descriptions after its two headers. Reading
// stops at the first entry or description that does not lie whole within the bytes.
std::vector<PlannedEvent> PlanDecoderBody(std::span<const std::uint8_t> file, bool firstFile);

}  // namespace morvit

#endif  // MORVIT_DUMP_CODEVALUES_H
