// The schema check: one validator per definition, fed a piece's values as reader events, and
// the validator's finding (a keyword of the schema and the place in the piece) put in words
// from the schema's own values: its ranges, lengths, member names and descriptions.
#include "job/JobSchema.h"

#include <rapidjson/document.h>
#include <rapidjson/schema.h>

#include <algorithm>
#include <map>

#include "cli/EmbeddedTexts.h"
#include "cli/Failure.h"

namespace morvit::tool {

namespace {

using Json = nlohmann::json;

// Hands a value to a reader-event handler; false when the handler refused it.
template <typename Handler>
bool Emit(const Json& value, Handler& handler) {
  switch (value.type()) {
    case Json::value_t::null:
      return handler.Null();
    case Json::value_t::boolean:
      return handler.Bool(value.get<bool>());
    case Json::value_t::number_integer:
      return handler.Int64(value.get<std::int64_t>());
    case Json::value_t::number_unsigned:
      return handler.Uint64(value.get<std::uint64_t>());
    case Json::value_t::number_float:
      return handler.Double(value.get<double>());
    case Json::value_t::string: {
      const auto& text = value.get_ref<const std::string&>();
      return handler.String(text.data(), static_cast<rapidjson::SizeType>(text.size()), true);
    }
    case Json::value_t::array:
      if (!handler.StartArray()) return false;
      for (const Json& element : value) {
        if (!Emit(element, handler)) return false;
      }
      return handler.EndArray(static_cast<rapidjson::SizeType>(value.size()));
    case Json::value_t::object:
      if (!handler.StartObject()) return false;
      for (const auto& [name, member] : value.items()) {
        if (!handler.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()), true) ||
            !Emit(member, handler)) {
          return false;
        }
      }
      return handler.EndObject(static_cast<rapidjson::SizeType>(value.size()));
    default:
      return false;
  }
}

std::string Number(const rapidjson::Value& value) {
  if (value.IsInt64()) return std::to_string(value.GetInt64());
  if (value.IsUint64()) return std::to_string(value.GetUint64());
  return std::to_string(value.GetDouble());
}

// "A, B or C" (or "A, B and C").
std::string Either(const std::vector<std::string>& items, const char* last = " or ") {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? last : ", ";
    text += items[i];
  }
  return text;
}

std::string TypeName(const std::string& type) {
  static const std::map<std::string, std::string> kNames = {
      {"integer", "an integer"}, {"number", "a number"},  {"string", "a string"},
      {"array", "an array"},     {"object", "an object"}, {"boolean", "true or false"},
      {"null", "null"}};
  const auto found = kNames.find(type);
  return found == kNames.end() ? type : found->second;
}

std::vector<std::string> MemberNames(const rapidjson::Value& schema) {
  std::vector<std::string> names;
  if (!schema.HasMember("properties")) return names;
  for (const auto& member : schema["properties"].GetObject()) {
    names.emplace_back(member.name.GetString(), member.name.GetStringLength());
  }
  return names;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// "unknown member", with the nearest known member when one is near enough to be a slip.
std::string UnknownMember(const std::string& name, const rapidjson::Value& schema) {
  std::string best;
  std::size_t bestDistance = std::max<std::size_t>(2, name.size() / 3) + 1;
  for (const std::string& known : MemberNames(schema)) {
    const std::size_t distance = EditDistance(name, known);
    if (distance < bestDistance) {
      best = known;
      bestDistance = distance;
    }
  }
  return best.empty() ? "unknown member" : "unknown member (did you mean \"" + best + "\"?)";
}

std::string Quoted(const std::vector<std::string>& names, const char* last = " or ") {
  std::vector<std::string> quoted;
  for (const std::string& name : names) quoted.push_back("\"" + name + "\"");
  return Either(quoted, last);
}

// The finding in words. `value` is the value the validator stopped at (null when not found).
std::string Describe(const std::string& keyword, const rapidjson::Value& schema,
                     const Json* value) {
  const auto has = [&](const char* name) { return schema.HasMember(name); };
  if (keyword == "type") {
    std::vector<std::string> types;
    if (schema["type"].IsString()) {
      types.push_back(TypeName(schema["type"].GetString()));
    } else {
      for (const auto& type : schema["type"].GetArray())
        types.push_back(TypeName(type.GetString()));
    }
    return "expected " + Either(types);
  }
  if (keyword == "minimum" || keyword == "maximum") {
    if (has("minimum") && has("maximum")) {
      return "out of range " + Number(schema["minimum"]) + " to " + Number(schema["maximum"]);
    }
    return has("minimum") ? "below " + Number(schema["minimum"])
                          : "above " + Number(schema["maximum"]);
  }
  if (keyword == "maxLength") {
    return "longer than " + Number(schema["maxLength"]) + " characters";
  }
  if (keyword == "pattern" && has("description")) {
    return std::string("expected ") + schema["description"].GetString();
  }
  if (keyword == "enum") {
    std::vector<std::string> items;
    for (const auto& item : schema["enum"].GetArray()) {
      items.push_back(item.IsString() ? "\"" + std::string(item.GetString()) + "\"" : Number(item));
    }
    return (value && value->is_string() ? "unknown value \"" + value->get<std::string>() + "\"; "
                                        : std::string()) +
           "expected " + Either(items);
  }
  if (keyword == "minItems" || keyword == "maxItems") {
    const std::string low = has("minItems") ? Number(schema["minItems"]) : "0";
    if (!has("maxItems")) return "expected at least " + low + " elements";
    const std::string high = Number(schema["maxItems"]);
    if (low == high) return "expected " + high + (high == "1" ? " element" : " elements");
    return "expected " + (low == "0" ? "at most " + high : low + " to " + high) + " elements";
  }
  if (keyword == "minProperties" || keyword == "maxProperties") {
    return "expected exactly one of " + Quoted(MemberNames(schema));
  }
  if (keyword == "required" && value && value->is_object()) {
    std::vector<std::string> missing;
    for (const auto& name : schema["required"].GetArray()) {
      if (!value->contains(name.GetString())) missing.emplace_back(name.GetString());
    }
    return std::string(missing.size() == 1 ? "missing member " : "missing members ") +
           Quoted(missing, " and ");
  }
  return "does not fit the job format (" + keyword + ")";
}

}  // namespace

// One validator per schema node: each over its own copy of the schema whose root refers to the
// node, so that references inside it resolve as in the file.
struct JobSchema::Validators {
  struct Entry {
    rapidjson::Document document;
    std::unique_ptr<rapidjson::SchemaDocument> schema;
    std::unique_ptr<rapidjson::SchemaValidator> validator;
  };
  rapidjson::Document source;
  std::map<std::string, std::unique_ptr<Entry>> entries;

  // The node that `ref` ("#", "#/definitions/base/properties/object") names, references
  // followed; `ref` becomes the reference of the node found.
  const rapidjson::Value& Node(std::string& ref) {
    for (;;) {
      const rapidjson::Value* node = rapidjson::Pointer(ref.c_str() + 1).Get(source);
      if (node == nullptr || ref.front() != '#') throw Failure("the job schema has no " + ref);
      if (!node->IsObject() || !node->HasMember("$ref")) return *node;
      ref = (*node)["$ref"].GetString();
    }
  }

  Entry& For(const std::string& ref) {
    auto& entry = entries[ref];
    if (entry) return *entry;
    entry = std::make_unique<Entry>();
    entry->document.CopyFrom(source, entry->document.GetAllocator());
    if (ref != "#") {
      entry->document.RemoveMember("$ref");
      entry->document.AddMember("$ref",
                                rapidjson::Value(ref.c_str(), entry->document.GetAllocator()),
                                entry->document.GetAllocator());
    }
    entry->schema = std::make_unique<rapidjson::SchemaDocument>(entry->document);
    entry->validator = std::make_unique<rapidjson::SchemaValidator>(*entry->schema);
    return *entry;
  }
};

JobSchema::JobSchema() : m_validators(std::make_unique<Validators>()) {
  const std::string_view schema = EmbeddedTextNamed("schemas/job.schema.json");
  m_validators->source.Parse(schema.data(), schema.size());
  if (m_validators->source.HasParseError() || !m_validators->source.IsObject()) {
    throw Failure("the built-in job schema is not valid JSON");
  }
}

JobSchema::~JobSchema() = default;

bool JobSchema::Check(const JobUnit& unit, const std::string& definition, JobFaults& faults) {
  return Check(unit, unit.value, unit.path,
               definition.empty() ? "#" : "#/definitions/" + definition, faults);
}

// A value that fails is looked into where its schema allows: each member of an object and each
// element of an array on its own, so that every fault of a piece is found, not only the first.
bool JobSchema::Check(const JobUnit& unit, const Json& value, const std::string& path,
                      std::string ref, JobFaults& faults) {
  const rapidjson::Value& node = m_validators->Node(ref);
  Validators::Entry& entry = m_validators->For(ref);
  entry.validator->Reset();
  if (Emit(value, *entry.validator) && entry.validator->IsValid()) return true;

  const std::size_t before = faults.Count();
  const bool separable = node.IsObject() && !node.HasMember("oneOf") && !node.HasMember("anyOf") &&
                         !node.HasMember("allOf");
  const auto join = [&](const std::string& name) {
    return path.empty() ? name : path + "." + name;
  };
  if (separable && value.is_object() && node.HasMember("properties")) {
    const rapidjson::Value& properties = node["properties"];
    const bool closed =
        node.HasMember("additionalProperties") && node["additionalProperties"].IsFalse();
    for (const auto& [name, member] : value.items()) {
      if (properties.HasMember(name.c_str())) {
        Check(unit, member, join(name), ref + "/properties/" + name, faults);
      } else if (closed) {
        faults.Add(unit, join(name), UnknownMember(name, node), true);
      }
    }
    if (node.HasMember("required")) {
      for (const auto& name : node["required"].GetArray()) {
        if (value.contains(name.GetString())) continue;
        faults.Add(unit, path, Describe("required", node, &value));
        break;
      }
    }
    if ((node.HasMember("minProperties") && value.size() < node["minProperties"].GetUint64()) ||
        (node.HasMember("maxProperties") && value.size() > node["maxProperties"].GetUint64())) {
      faults.Add(unit, path, Describe("maxProperties", node, &value));
    }
  } else if (separable && value.is_array() && node.HasMember("items") && node["items"].IsObject()) {
    for (std::size_t i = 0; i < value.size(); ++i) {
      Check(unit, value[i], path + "[" + std::to_string(i) + "]", ref + "/items", faults);
    }
    if ((node.HasMember("minItems") && value.size() < node["minItems"].GetUint64()) ||
        (node.HasMember("maxItems") && value.size() > node["maxItems"].GetUint64())) {
      faults.Add(unit, path, Describe("maxItems", node, &value));
    }
  }
  if (faults.Count() == before) ReportFirst(unit, value, path, ref, faults);
  return false;
}

void JobSchema::ReportFirst(const JobUnit& unit, const Json& start, const std::string& at,
                            const std::string& ref, JobFaults& faults) {
  const Validators::Entry& entry = m_validators->For(ref);
  const rapidjson::SchemaValidator& validator = *entry.validator;
  // The place the validator stopped at, as a path into the piece, and the value there.
  const rapidjson::Pointer pointer = validator.GetInvalidDocumentPointer();
  std::string path = at;
  const Json* value = &start;
  std::string lastName;
  for (std::size_t i = 0; i < pointer.GetTokenCount(); ++i) {
    const rapidjson::Pointer::Token& token = pointer.GetTokens()[i];
    const std::string name(token.name, token.length);
    if (value && value->is_array() && token.index != rapidjson::kPointerInvalidIndex) {
      path += "[" + name + "]";
      value = token.index < value->size() ? &(*value)[token.index] : nullptr;
    } else {
      path += path.empty() ? name : "." + name;
      value = value && value->is_object() && value->contains(name) ? &(*value)[name] : nullptr;
    }
    lastName = name;
  }
  const std::string keyword = validator.GetInvalidSchemaKeyword();
  const rapidjson::Value* schema = validator.GetInvalidSchemaPointer().Get(entry.document);
  if (schema == nullptr) schema = &entry.document;
  if (keyword == "additionalProperties") {
    faults.Add(unit, path, UnknownMember(lastName, *schema), true);
  } else {
    faults.Add(unit, path, Describe(keyword, *schema, value));
  }
}

}  // namespace morvit::tool
