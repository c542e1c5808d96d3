// JSON lines of the listing events, written by hand: a large domain lists to millions of
// events, and each becomes one line without building a document in memory.
#include "listing/ListingJson.h"

#include <charconv>
#include <cmath>
#include <iostream>

#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/ToolPlatform.h"

namespace morvit::tool {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendNumber(std::string& out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendMember(std::string& out, std::string_view name, std::int64_t value) {
  out += ",\"";
  out += name;
  out += "\":";
  AppendNumber(out, value);
}

void AppendMember(std::string& out, std::string_view name, std::string_view text) {
  out += ",\"";
  out += name;
  out += "\":";
  AppendJsonString(out, text);
}

}  // namespace

namespace {

void AppendEscape(std::string& out, std::uint32_t unit) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(unit >> shift) & 0xF];
}

// The length of the valid UTF-8 sequence at the start of `text` and its character, or 0.
std::size_t Utf8Sequence(std::string_view text, std::uint32_t& character) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    character = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    character = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    character = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    character = (character << 6) | (byte(i) & 0x3Fu);
  }
  // Overlong forms, surrogates and characters past U+10FFFF are no valid UTF-8.
  const bool overlong = (length == 3 && character < 0x800) || (length == 4 && character < 0x10000);
  if (overlong || (character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF) return 0;
  return length;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte >= 0x80) {
          std::uint32_t character = 0;
          const std::size_t length = Utf8Sequence(text.substr(at), character);
          if (length == 0) {
            AppendEscape(out, byte);
          } else if (character >= 0x10000) {
            AppendEscape(out, 0xD800 + ((character - 0x10000) >> 10));
            AppendEscape(out, 0xDC00 + ((character - 0x10000) & 0x3FF));
          } else {
            AppendEscape(out, character);
          }
          at += length == 0 ? 1 : length;
          continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
          AppendEscape(out, byte);
        } else {
          out += c;
        }
    }
    ++at;
  }
  out += '"';
}

std::string_view FieldKindName(VFieldKind kind) {
  switch (kind) {
    case VFieldKind::word:
      return "word";
    case VFieldKind::integer:
      return "integer";
    case VFieldKind::longWord:
      return "longWord";
    case VFieldKind::longInteger:
      return "longInteger";
    case VFieldKind::real:
      return "real";
    case VFieldKind::number:
      return "number";
  }
  return "word";
}

std::string DecodedText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::uint32_t character = 0;
    const std::size_t length = byte < 0x80 ? 0 : Utf8Sequence(text.substr(at), character);
    if (byte < 0x80 || length != 0) {
      const std::size_t take = length == 0 ? 1 : length;
      out.append(text.substr(at, take));
      at += take;
      continue;
    }
    // A byte of a single-byte text: the character of the same number, in UTF-8.
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
    ++at;
  }
  return out;
}

std::string_view ValueKindName(VValueKind kind) {
  switch (kind) {
    case VValueKind::text:
      return "text";
    case VValueKind::real:
      return "real";
    case VValueKind::number:
      return "number";
    case VValueKind::dateTime:
      return "dateTime";
    case VValueKind::boolean:
      return "boolean";
    case VValueKind::enumeration:
      return "enumeration";
    case VValueKind::code:
      return "code";
    case VValueKind::key:
      return "key";
    case VValueKind::name:
      return "name";
  }
  return "number";
}

std::string RealText(double real) {
  char digits[40];
  const auto result = std::to_chars(digits, digits + sizeof digits, real);
  std::string text(digits, result.ptr);
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";  // n: inf and nan
  return text;
}

void AppendValueMembers(std::string& out, const VListingValue& value) {
  AppendMember(out, "kind", ValueKindName(value.kind));
  AppendMember(out, "label", value.label);
  out += ",\"value\":";
  switch (value.kind) {
    case VValueKind::text:
    case VValueKind::name:
    case VValueKind::dateTime:
      AppendJsonString(out, value.text);
      break;
    case VValueKind::real:
      // JSON has no infinities or NaN: those go as text.
      if (std::isfinite(value.real)) {
        out += RealText(value.real);
      } else {
        AppendJsonString(out, RealText(value.real));
      }
      break;
    case VValueKind::boolean:
      out += value.number != 0 ? "true" : "false";
      break;
    default:
      AppendNumber(out, value.number);
      break;
  }
  if (value.kind == VValueKind::code || value.kind == VValueKind::enumeration) {
    AppendMember(out, "text", value.text);
  }
  if (value.length >= 0) AppendMember(out, "length", value.length);
  if (value.timeStamp) out += ",\"time\":true";
}

std::string ValueText(const VListingValue& value) {
  switch (value.kind) {
    case VValueKind::text:
    case VValueKind::name: {
      std::string quoted;
      AppendJsonString(quoted, value.text);
      return quoted;
    }
    case VValueKind::real:
      return RealText(value.real);
    case VValueKind::dateTime:
    case VValueKind::boolean:
      return std::string(value.text);
    case VValueKind::code:
    case VValueKind::enumeration:
      return std::to_string(value.number) + (value.text.empty() ? "" : " ") +
             std::string(value.text);
    default:
      return std::to_string(value.number);
  }
}

std::string_view PlaceName(VListingPlace kind) {
  switch (kind) {
    case VListingPlace::header:
      return "header";
    case VListingPlace::section:
      return "section";
    case VListingPlace::element:
      return "element";
    case VListingPlace::table:
      return "table";
    case VListingPlace::row:
      return "row";
  }
  return "header";
}

std::string FieldValue(const VListingField& field) {
  char digits[32];
  if (field.kind == VFieldKind::real) {
    const auto result = std::to_chars(digits, digits + sizeof digits, field.real);
    return std::string(digits, result.ptr);
  }
  const auto result = std::to_chars(digits, digits + sizeof digits, field.number);
  return std::string(digits, result.ptr);
}

void ListingJson::File(std::string_view name, std::uint32_t part, std::uint64_t size) {
  m_line = "{\"event\":\"file\"";
  AppendMember(m_line, "name", name);
  AppendMember(m_line, "part", std::int64_t{part});
  AppendMember(m_line, "size", static_cast<std::int64_t>(size));
  m_line += "}\n";
  m_out << m_line;
}

void ListingJson::Begin(const VListingBegin& begin) {
  m_line = "{\"event\":\"begin\"";
  AppendMember(m_line, "kind", PlaceName(begin.kind));
  if (!begin.name.empty()) AppendMember(m_line, "name", begin.name);
  if (begin.code >= 0) AppendMember(m_line, "code", std::int64_t{begin.code});
  if (!begin.codeName.empty()) AppendMember(m_line, "codeName", begin.codeName);
  if (begin.index >= 0) AppendMember(m_line, "index", begin.index);
  if (begin.offset >= 0) AppendMember(m_line, "offset", begin.offset);
  m_line += "}\n";
  m_out << m_line;
}

void ListingJson::Field(const VListingField& field) {
  m_line = "{\"event\":\"field\"";
  AppendMember(m_line, "offset", field.offset);
  AppendMember(m_line, "width", std::int64_t{field.width});
  m_line += ",\"hex\":\"";
  for (std::uint32_t i = 0; i < field.width; ++i) {
    m_line += kHexDigits[field.bytes[i] >> 4];
    m_line += kHexDigits[field.bytes[i] & 0xF];
  }
  m_line += '"';
  AppendMember(m_line, "kind", FieldKindName(field.kind));
  m_line += ",\"value\":";
  m_line += FieldValue(field);
  AppendMember(m_line, "label", field.label);
  if (field.timeStamp) m_line += ",\"time\":true";
  AppendMember(m_line, "text", field.text);
  m_line += "}\n";
  m_out << m_line;
}

void ListingJson::End(VListingPlace kind) {
  m_line = "{\"event\":\"end\"";
  AppendMember(m_line, "kind", PlaceName(kind));
  m_line += "}\n";
  m_out << m_line;
}

void ListingJson::Text(std::string_view text) {
  m_line = "{\"event\":\"text\"";
  AppendMember(m_line, "text", text);
  m_line += "}\n";
  m_out << m_line;
}

void ListingJson::Stop(std::int64_t offset, std::string_view reason) {
  m_line = "{\"event\":\"stop\"";
  if (offset >= 0) AppendMember(m_line, "offset", offset);
  AppendMember(m_line, "reason", reason);
  m_line += "}\n";
  m_out << m_line;
}

void ListingJson::Value(const VListingValue& value) {
  m_line = "{\"event\":\"value\"";
  AppendMember(m_line, "offset", value.offset);
  AppendMember(m_line, "width", std::int64_t{value.width});
  AppendValueMembers(m_line, value);
  m_line += "}\n";
  m_out << m_line;
}

int DumpAsJson(const std::vector<std::filesystem::path>& files,
               const std::function<std::filesystem::path(const std::filesystem::path&)>& locate) {
  ListingJson json(std::cout);
  int failures = 0;
  for (const std::filesystem::path& file : files) {
    StopIfInterrupted("the events stop here");
    if (!ListDomainEvents(Utf8(locate(file)), json)) {
      std::cerr << "morvit dump: " << Utf8(file) << ": no whole listing (see its stop event)\n";
      ++failures;
    }
  }
  std::cout.flush();
  if (failures != 0) {
    throw Failure(std::to_string(failures) + " of " + std::to_string(files.size()) +
                  " files not listed");
  }
  return kExitSuccess;
}

}  // namespace morvit::tool
