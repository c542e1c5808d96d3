// JSON lines of the listing events, written by hand: a large domain lists to millions of
// events, and each becomes one line without building a document in memory.
#include "listing/ListingJson.h"

#include <charconv>
#include <iostream>

#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/ToolPlatform.h"

namespace morvit::tool {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

std::string_view KindName(VFieldKind kind) {
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

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
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
        if (byte < 0x20 || byte >= 0x7F) {
          out += "\\u00";
          out += kHexDigits[byte >> 4];
          out += kHexDigits[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
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
  AppendMember(m_line, "kind", KindName(field.kind));
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
