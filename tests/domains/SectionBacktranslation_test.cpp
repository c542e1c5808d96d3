// The progress text of a domain file name: upper case, and only the last X turned into a C.
#include "domains/SectionBacktranslation.h"

#include <gtest/gtest.h>

namespace morvit {

namespace {

TEST(ProgressText, UpperCasesAndTurnsTheLastXIntoC) {
  const struct {
    const char* name;
    const char* text;
  } rows[] = {
      {"rb000001.x01", "RB000001.C01"},  // lower-case x of the expanded copy
      {"XB000001.X01", "XB000001.C01"},  // only the last of several
      {"abx.c01", "ABC.C01"},            // the last X need not be in the extension
      {"plain.c01", "PLAIN.C01"},        // no X: upper-cased only
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(ProgressText(row.name), row.text) << row.name;
}

}  // namespace

}  // namespace morvit
