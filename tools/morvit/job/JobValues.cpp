// Job values: type- and range-checked reads with the value's place in every message.
#include "job/JobValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morvit::tool {
namespace {

// The places the check of the current record passes over (PassOver), or null.
const std::vector<std::string>* g_passedOver = nullptr;

// What a value passed over reads as.
const nlohmann::json& Neutral() {
  static const nlohmann::json neutral;
  return neutral;
}

}  // namespace

PassOver::PassOver(const std::vector<std::string>& places) : m_outer(g_passedOver) {
  g_passedOver = &places;
}

PassOver::~PassOver() { g_passedOver = m_outer; }

bool JobValue::PassedOver() const {
  if (g_passedOver == nullptr) return false;
  for (const std::string& over : *g_passedOver) {
    if (place.starts_with(over) &&
        (place.size() == over.size() || place[over.size()] == '.' || place[over.size()] == '[')) {
      return true;
    }
  }
  return false;
}

void JobValue::Fail(const std::string& what) const {
  if (!PassedOver()) throw JobFault(place, what);
}

const nlohmann::json* JobValue::Find(const char* name) const {
  if (PassedOver()) return nullptr;
  if (!json.is_object()) Fail("expected an object");
  const auto found = json.find(name);
  return found == json.end() ? nullptr : &*found;
}

JobValue JobValue::operator[](const char* name) const {
  const nlohmann::json* member = Find(name);
  const std::string memberPlace = place.empty() ? name : place + "." + name;
  if (member == nullptr && PassedOver()) return {Neutral(), memberPlace};
  if (member == nullptr) throw JobFault(memberPlace, "missing");
  return {*member, memberPlace};
}

std::size_t JobValue::Size() const {
  if (PassedOver()) return 0;
  if (!json.is_array()) Fail("expected an array");
  return json.size();
}

JobValue JobValue::At(std::size_t index) const {
  const std::string at = place + "[" + std::to_string(index) + "]";
  if (PassedOver() || !json.is_array() || index >= json.size()) return {Neutral(), at};
  return {json[index], at};
}

std::int64_t JobValue::Integer(std::int64_t low, std::int64_t high) const {
  if (PassedOver()) return std::clamp<std::int64_t>(0, low, high);
  if (!json.is_number_integer()) Fail("expected an integer");
  const bool negative = json.is_number_unsigned() ? false : json.get<std::int64_t>() < 0;
  if (!negative && json.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
    Fail("out of range " + std::to_string(low) + " to " + std::to_string(high));
  }
  const std::int64_t value = json.get<std::int64_t>();
  if (value < low || value > high) {
    Fail("out of range " + std::to_string(low) + " to " + std::to_string(high));
  }
  return value;
}

double JobValue::Real() const {
  if (PassedOver()) return 0;
  if (!json.is_number()) Fail("expected a number");
  return json.get<double>();
}

float JobValue::Real32() const {
  const double value = Real();
  const double magnitude = std::fabs(value);
  if (!std::isfinite(value) || magnitude > std::numeric_limits<float>::max()) {
    Fail("too large for a 4-byte real (at most 3.4e38)");
  }
  if (magnitude != 0 && magnitude < std::numeric_limits<float>::denorm_min()) {
    Fail("too small for a 4-byte real (it would become 0)");
  }
  return static_cast<float>(value);
}

bool JobValue::Boolean() const {
  if (PassedOver()) return false;
  if (!json.is_boolean()) Fail("expected true or false");
  return json.get<bool>();
}

std::string JobValue::Text(std::size_t maxLength) const {
  if (PassedOver()) return "";
  if (!json.is_string()) Fail("expected a string");
  std::string text = json.get<std::string>();
  if (text.size() > maxLength) {
    Fail("longer than " + std::to_string(maxLength) + " bytes (" + std::to_string(text.size()) +
         ")");
  }
  return text;
}

std::int64_t OptionalInteger(const JobValue& value, const char* name, std::int64_t low,
                             std::int64_t high, std::int64_t fallback) {
  return value.Find(name) == nullptr ? fallback : value[name].Integer(low, high);
}

}  // namespace morvit::tool
