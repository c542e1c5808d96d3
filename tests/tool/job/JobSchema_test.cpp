// The published job schema, as an editor uses it: the whole example job is valid against it,
// and a slip the tool refuses is invalid there too.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/schema.h>

#include "tool/ToolRun.h"

namespace morvit {

namespace {

bool Valid(const std::string& job) {
  rapidjson::Document schemaJson;
  schemaJson.Parse(tooltest::ReadText(MORVIT_SOURCE_DIR "/schemas/job.schema.json").c_str());
  EXPECT_FALSE(schemaJson.HasParseError());
  const rapidjson::SchemaDocument schema(schemaJson);
  rapidjson::Document document;
  document.Parse(job.c_str());
  EXPECT_FALSE(document.HasParseError());
  rapidjson::SchemaValidator validator(schema);
  return document.Accept(validator);
}

TEST(JobSchema, TheExampleJobIsValidAndASlipIsNot) {
  std::string example = tooltest::ReadText(MORVIT_SOURCE_DIR "/examples/job.json");
  EXPECT_TRUE(Valid(example));
  example.replace(example.find("\"version\""), 9, "\"versoin\"");
  EXPECT_FALSE(Valid(example));
}

}  // namespace

}  // namespace morvit
