// Text in the JSON the tool writes: plain ASCII, UTF-8 as its characters, any other byte as the
// character of the same number; a value typed by its kind.
#include "listing/ListingJson.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace morvit {

namespace {

TEST(ListingJson, TextIsUtf8WhereValidAndBytesElsewhere) {
  const std::pair<std::string, std::string> cases[] = {
      {"d\xc3\xa4t\xc3\xa4 dir", R"("d\u00e4t\u00e4 dir")"},
      {"single byte \xe4", R"("single byte \u00e4")"},
      {"overlong \xc0\xaf", R"("overlong \u00c0\u00af")"},
      {"surrogate \xed\xa0\x80", R"("surrogate \u00ed\u00a0\u0080")"},
      {"cut \xe2\x82", R"("cut \u00e2\u0082")"},
      {"past U+10FFFF \xf4\x90\x80\x80", R"("past U+10FFFF \u00f4\u0090\u0080\u0080")"},
      {"astral \xf0\x9f\x98\x80", R"("astral \ud83d\ude00")"},
      {"euro \xe2\x82\xac", R"("euro \u20ac")"},
      {"quote \" backslash \\ \n\t\x01\x7f", R"("quote \" backslash \\ \n\t\u0001\u007f")"},
  };
  for (const auto& [text, json] : cases) {
    std::string out;
    morvit::tool::AppendJsonString(out, text);
    EXPECT_EQ(out, json);
  }
}

TEST(ListingJson, ValuesAreTyped) {
  using morvit::VValueKind;
  struct Case {
    morvit::VListingValue value;
    const char* members;
    const char* reads;
  };
  const auto value = [](VValueKind kind, std::int64_t number, double real, const char* text,
                        std::int64_t length = -1) {
    morvit::VListingValue v;
    v.kind = kind;
    v.label = "L";
    v.number = number;
    v.real = real;
    v.text = text;
    v.length = length;
    return v;
  };
  const Case cases[] = {
      {value(VValueKind::real, 0, 42.0, ""), R"(,"kind":"real","label":"L","value":42.0)", "42.0"},
      {value(VValueKind::real, 0, std::numeric_limits<double>::infinity(), ""),
       R"(,"kind":"real","label":"L","value":"inf")", "inf"},
      {value(VValueKind::name, 0, 0, "P\"1", 3),
       R"(,"kind":"name","label":"L","value":"P\"1","length":3)", R"("P\"1")"},
      {value(VValueKind::boolean, 1, 0, "true"), R"(,"kind":"boolean","label":"L","value":true)",
       "true"},
      {value(VValueKind::code, 46, 0, "TypCode FB"),
       R"(,"kind":"code","label":"L","value":46,"text":"TypCode FB")", "46 TypCode FB"},
      {value(VValueKind::key, -3, 0, ""), R"(,"kind":"key","label":"L","value":-3)", "-3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reads);
    std::string members;
    morvit::tool::AppendValueMembers(members, c.value);
    EXPECT_EQ(members, c.members);
    EXPECT_EQ(morvit::tool::ValueText(c.value), c.reads);
  }
}

}  // namespace

}  // namespace morvit
