// The wording of the library's numbered texts.
#include "support/Texts.h"

#include <algorithm>
#include <iterator>

namespace morvit {

namespace {

struct NumberedText {
  int number;
  const char* text;
};

// In ascending number order.
constexpr NumberedText kTexts[] = {
    {kMessageLibraryMismatch, "library file does not match the object database"},
    {kMessageNoFileMatched, "no file matches the node's file pattern (pattern, directories)"},
    {kTextLibraryObjectMissing, "no library of this name in the object database"},
};

}  // namespace

const char* FindText(int number) {
  const auto* found = std::find_if(std::begin(kTexts), std::end(kTexts),
                                   [number](const NumberedText& t) { return t.number == number; });
  return found == std::end(kTexts) ? nullptr : found->text;
}

}  // namespace morvit
